#include "fSplash.h"

#include "AppPath.h"
#include "SerialPort.h"
#include "Twips.h"
#include "frmContenedor.h"
#include "mFuncionesCajas.h"
#include "mPuertos.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace {

const int kAncho = 6975;
const int kAlto = 3060;
const int kAltoConexion = 4560;

template <class W>
W* colocar(W* w, const char* nombre, int left, int top, int width, int height)
{
    w->setObjectName(QLatin1String(nombre));
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
    return w;
}

// A list that keeps its current row and its selection in agreement: the
// row that focus alone lands on looks chosen but is not, so focus marks no
// row; the arrow keys then choose the first one.
class Lista : public QListWidget {
public:
    using QListWidget::QListWidget;
protected:
    void focusInEvent(QFocusEvent* e) override
    {
        QListWidget::focusInEvent(e);
        if (selectedItems().isEmpty() && currentItem())
            selectionModel()->clearCurrentIndex();
    }
};

QString& textoServidorPruebas()
{
    static QString t;
    return t;
}

}  // namespace

fSplash::fSplash(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fSplash"));
    setWindowTitle(QString());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Label1 = colocar(new QLabel(QStringLiteral("Tarvik 1.0 Beta"), this), "Label1", 120, 60, 6000, 480);
    QFont f1 = font();
    f1.setPointSizeF(twips::designPoints(18));
    Label1->setFont(f1);
    Label3 = colocar(new QLabel(QStringLiteral("ASISTENTE DE NEGOCIOS"), this), "Label3", 120, 540, 6000, 270);
    QFont f3 = font();
    f3.setPointSizeF(twips::designPoints(9.75));
    Label3->setFont(f3);

    Label2 = colocar(new QLabel(QStringLiteral("Empresas :"), this), "Label2", 120, 840, 3300, 240);
    lstEmpresas = colocar(new Lista(this), "lstEmpresas", 120, 1080, 3300, 1140);
    Label7 = colocar(new QLabel(QStringLiteral("Usuarios :"), this), "Label7", 3555, 840, 3300, 240);
    lstUsuarios = colocar(new Lista(this), "lstUsuarios", 3555, 1080, 3300, 1140);

    Label6 = colocar(new QLabel(QStringLiteral("Clave :"), this), "Label6", 120, 2460, 660, 255);
    tPassword = colocar(new QLineEdit(this), "tPassword", 780, 2400, 2640, 345);
    tPassword->setEchoMode(QLineEdit::Password);
    bContinuar = colocar(new QPushButton(QStringLiteral("Continuar"), this), "bContinuar", 3555, 2370, 1080, 405);
    bSalir = colocar(new QPushButton(QStringLiteral("Salir"), this), "bSalir", 4695, 2370, 1080, 405);
    bConexion = colocar(new QPushButton(QStringLiteral("Conexión"), this), "bConexion", 5835, 2370, 1020, 405);
    bConexion->setCheckable(true);
    bConexion->setToolTip(QStringLiteral("Base de datos y puertos"));
    // Enter belongs to the password box alone: no button fires with it.
    for (QPushButton* b : {bContinuar, bSalir, bConexion}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    fraConexion = colocar(new QWidget(this), "fraConexion", 0, kAlto, kAncho, kAltoConexion - kAlto);
    bConectarAccess = colocar(new QPushButton(QStringLiteral("Iniciar Base de Datos Access"), fraConexion),
                              "bConectarAccess", 120, 60, 3300, 405);
    bConectarMySql = colocar(new QPushButton(QStringLiteral("Iniciar Base de Datos MySQL"), fraConexion),
                             "bConectarMySql", 3555, 60, 3300, 405);
    Label8 = colocar(new QLabel(QStringLiteral("Pole Display - Pantalla de Pedestal Conectada al Puerto COM"), fraConexion),
                     "Label8", 120, 600, 5520, 300);
    txtCOM = colocar(new QLineEdit(QStringLiteral("1"), fraConexion), "txtCOM", 5700, 570, 1155, 345);
    Label9 = colocar(new QLabel(QStringLiteral("Receipt Printer - Impresora de Recibos Conectada al Puerto    "), fraConexion),
                     "Label9", 120, 1020, 5520, 300);
    txtLPT = colocar(new QLineEdit(QStringLiteral("LPT1"), fraConexion), "txtLPT", 5700, 990, 1155, 345);
    for (QPushButton* b : {bConectarAccess, bConectarMySql})
        b->setAutoDefault(false);
    MostrarConexion(false);

    // A click is a change of the selected entry, by mouse or by keyboard.
    // Focus alone only moves the cursor and selects nothing.
    connect(lstEmpresas, &QListWidget::itemSelectionChanged, this, [this] {
        if (!textoSeleccionado(lstEmpresas).isNull())
            lstEmpresas_Click();
    });
    connect(lstUsuarios, &QListWidget::itemSelectionChanged, this, [this] {
        if (!textoSeleccionado(lstUsuarios).isNull())
            lstUsuarios_Click();
    });
    connect(bContinuar, &QPushButton::clicked, this, &fSplash::bContinuar_Click);
    connect(tPassword, &QLineEdit::returnPressed, this, [this] { tPassword_KeyPress(13); });
    connect(bSalir, &QPushButton::clicked, this, &fSplash::bSalir_Click);
    connect(bConectarAccess, &QPushButton::clicked, this, &fSplash::bConectarAccess_Click);
    connect(bConectarMySql, &QPushButton::clicked, this, &fSplash::bConectarMySql_Click);
    connect(bConexion, &QPushButton::toggled, this, &fSplash::MostrarConexion);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, bSalir, &QPushButton::click);

    Form_Initialize();
}

void fSplash::MostrarConexion(bool mostrar)
{
    fraConexion->setVisible(mostrar);
    if (bConexion->isChecked() != mostrar)
        bConexion->setChecked(mostrar);
    setFixedSize(TwipsToPixels(kAncho, mostrar ? kAltoConexion : kAlto));
}

void fSplash::Form_Initialize()
{
    if (const QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
    bConectarAccess_Click();
}

void fSplash::bConectarAccess_Click()
{
    Err.Clear();
    Trap([&] {
        ado::Connection& cn = Conexion();
        cn.Provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
        cn.Open(AppPath() + QStringLiteral("/Inventario.qln"), QString(), QString());
        bConectarAccess->setText(QStringLiteral("Access Iniciado"));
        bConectarMySql->setEnabled(false);
        bConectarAccess->setEnabled(false);
        CargarEmpresas();
    });
    ControlErrores();
}

QString fSplash::TextoConexionServidor()
{
    if (!textoServidorPruebas().isEmpty())
        return textoServidorPruebas();
    return QStringLiteral("DRIVER={MySQL ODBC 3.51 Driver};") + QStringLiteral("SERVER=localhost;")
           + QStringLiteral("DATABASE=Inventario;") + QStringLiteral("UID=root;") + QStringLiteral("PWD=;")
           + QStringLiteral("OPTION=") + QString::number(18475);
}

void fSplash::SetTextoConexionServidorParaPruebas(const QString& texto) { textoServidorPruebas() = texto; }

void fSplash::bConectarMySql_Click()
{
    Err.Clear();
    Trap([&] {
        ado::Connection& cn = Conexion();
        cn.Provider.clear();
        cn.ConnectionString = TextoConexionServidor();
        cn.CursorLocation = 3;  // client-side cursors
        cn.Open(QString(), QString(), QString());
        bConectarMySql->setText(QStringLiteral("MySql Iniciado"));
        bConectarMySql->setEnabled(false);
        bConectarAccess->setEnabled(false);
        CargarEmpresas();
    });
    if (!ControlErrores())
        MsgBox(QStringLiteral("Error en la función InicialiceADO en el módulo 'mFunciones'"));
}

void fSplash::CargarEmpresas()
{
    gSQL = QStringLiteral("Select nombre_emp From empresas");
    if (!AbrirRecordset(gSQL))
        return;
    ado::Recordset& rs = *gRecordset;
    if (rs.RecordCount() > 0)
        rs.MoveFirst();
    lstEmpresas->clear();
    while (!rs.Eof()) {
        lstEmpresas->addItem(rs.Fields(QStringLiteral("nombre_emp")).Text());
        rs.MoveNext();
    }
}

QString fSplash::textoSeleccionado(const QListWidget* lst) const
{
    // Null when nothing is selected; an entry's text is never Null.
    const QList<QListWidgetItem*> sel = lst->selectedItems();
    if (sel.isEmpty())
        return QString();
    const QString t = sel.first()->text();
    return t.isNull() ? QStringLiteral("") : t;
}

void fSplash::lstEmpresas_Click()
{
    const QString empresa = textoSeleccionado(lstEmpresas);
    Err.Clear();
    // A company row that vanished or holds the wrong kind of value is
    // reported by the error check; the window stays.
    Trap([&] {
        gSQL = QStringLiteral("Select * From empresas Where nombre_emp = ") + SqlStr(empresa);
        if (!AbrirRecordset(gSQL))
            return;
        ado::Recordset& rs = *gRecordset;
        gCodigoEmp = rs.Fields(QStringLiteral("codigo_emp")).Text();
        gNombreEmp = rs.Fields(QStringLiteral("nombre_emp")).Text();
        gIdentificacionEmp = rs.Fields(QStringLiteral("identificacion_emp")).Text();
        gDireccionEmp = rs.Fields(QStringLiteral("direccion_emp")).Text();
        gRegimenEmp = rs.Fields(QStringLiteral("regimen_emp")).Text();
        for (int i = 1; i <= 6; ++i)
            gPieFactura[i] = rs.Fields(QStringLiteral("PieFactura%1").arg(i)).Text();

        const QString costeo = rs.Fields(QStringLiteral("costeo_inventario")).Text();
        if (costeo == QLatin1String("PromedioPonderado")) {
            gCosteoInventario = 0;
        } else if (costeo == QLatin1String("PromedioSimple")) {
            gCosteoInventario = 1;
        } else if (costeo == QLatin1String("UltimoPrecio")) {
            gCosteoInventario = 2;
        } else {
            MsgBox(QStringLiteral("Seleccione un método para el costeo del inventario antes de realizar cualquier operación"),
                   MsgStyle::Exclamation);
            Abrir(QStringLiteral("params"));  // the options window, modal, once it exists
        }

        gSQL = QStringLiteral("Select nombre_usu From usuarios, empresas ")
               + QStringLiteral("Where empresas.codigo_emp = usuarios.codigo_emp ")
               + QStringLiteral("And empresas.nombre_emp = ") + SqlStr(empresa);
        lstUsuarios->clear();
        if (AbrirRecordset(gSQL) && gRecordset->RecordCount() >= 1) {
            ado::Recordset& us = *gRecordset;
            us.MoveFirst();
            while (!us.Eof()) {
                lstUsuarios->addItem(us.Fields(QStringLiteral("nombre_usu")).Text());
                us.MoveNext();
            }
        }
    });
    ControlErrores();
}

void fSplash::lstUsuarios_Click()
{
    const QString usuario = textoSeleccionado(lstUsuarios);
    Err.Clear();
    Trap([&] {
        gSQL = QStringLiteral("Select * from usuarios Where nombre_usu = ") + SqlStr(usuario);
        if (!AbrirRecordset(gSQL))
            return;
        ado::Recordset& rs = *gRecordset;
        gCodigoUsu = rs.Fields(QStringLiteral("codigo_usu")).Text();
        gNombreUsu = rs.Fields(QStringLiteral("nombre_usu")).Text();
        gPasswordUsu = rs.Fields(QStringLiteral("password_usu")).Text();
        const QString nivel = rs.Fields(QStringLiteral("nivel_usu")).Text();
        // Any other word gets the lesser level, never the administrator's.
        gNivelUsu = nivel == QLatin1String("Administrador") ? 0 : 1;
    });
    ControlErrores();
}

void fSplash::tPassword_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        bContinuar_Click();
}

void fSplash::bContinuar_Click()
{
    if (entrando_)
        return;
    entrando_ = true;
    bool abrir = false;
    Err.Clear();
    Trap([&] {
        gPuertoCOM = txtCOM->text();
        gPuertoLPT = txtLPT->text();
        OlvidarAvisosPuertos();
        const QString usuario = textoSeleccionado(lstUsuarios);
        if (usuario.isEmpty()) {
            MsgBox(QStringLiteral("Seleccione el usuario"), MsgStyle::Exclamation);
            return;
        }
        gSQL = QStringLiteral("Select password_usu From usuarios Where nombre_usu = ") + SqlStr(usuario);
        if (!AbrirRecordset(gSQL))
            return;
        ado::Field clave = gRecordset->Fields(QStringLiteral("password_usu"));
        // Exact, case-sensitive; a Null stored password matches nothing.
        if (clave.IsNull() || tPassword->text() != clave.Text()) {
            MsgBox(QStringLiteral("Password Incorrecto"), MsgStyle::Exclamation);
            return;
        }
        abrir = true;
    });
    // Anything that went wrong here ends the handler without a message.
    Err.Clear();
    entrando_ = false;
    if (!abrir)
        return;
    gSesionIniciada = true;
    MostrarContenedor();
    EnviarBienvenida();
}

void fSplash::MostrarContenedor()
{
    // The main window shows before this one closes: closing the last
    // window would end the program.
    frmContenedor& m = Ventana<frmContenedor>();
    // The whole screen also where no window manager maximises windows.
    if (const QScreen* sc = screen())
        m.setGeometry(sc->availableGeometry());
    m.showMaximized();
    m.activateWindow();
    CerrarVentana(this);
}

void fSplash::EnviarBienvenida()
{
    const QString texto = QChar(12) + QStringLiteral("Facturación Central") + QString(12, QLatin1Char(' '))
                          + QStringLiteral("Bienvenido");
    // Told here, right after the port was typed, rather than at the first
    // sale with a customer waiting.
    serialport::PortKind kind;
    serialport::WriteSerial(DispositivoDe(Aparato::Visor), serialport::SingleByte(texto), 9600, 8, &kind);
    AvisarPuerto(Aparato::Visor, kind);
}

void fSplash::bSalir_Click() { CerrarVentana(this); }
