#include "fEmpresasUsuarios.h"

#include "Twips.h"
#include "fOpciones.h"
#include "mAdministracion.h"
#include "mFuncionesCajas.h"
#include "mFunciones_listas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>


namespace {

void geo(QWidget* w, int left, int top, int width, int height = 285)
{
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}

QLabel* etiqueta(QWidget* padre, const QString& texto, int left, int top, int width = 2100)
{
    auto* l = new QLabel(texto, padre);
    geo(l, left, top + 30, width, 255);
    return l;
}

QLineEdit* caja(QWidget* padre, const QString& nombre, int left, int top, int width)
{
    auto* t = new QLineEdit(padre);
    t->setObjectName(nombre);
    geo(t, left, top, width);
    return t;
}

// A box in the window's face colour, filled from the combo beside it: it
// takes no typing and no Tab stop, so Tab goes on to the combo.
void llenadaPorCombo(QLineEdit* t)
{
    QPalette p = t->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    t->setPalette(p);
    t->setReadOnly(true);
    t->setFocusPolicy(Qt::ClickFocus);
}

bool enBlanco(const QString& s) { return s.trimmed().isEmpty(); }

void setTexto(QLineEdit* t, const QString& s)
{
    if (t->text() != s)
        t->setText(s);
}

const QString kNoActualizado = QStringLiteral("No se actualizó el registro");

// Asks, then deletes the row; false when the store refused.
bool Borrar(ado::RecordsetPtr rs, const QString& pregunta)
{
    if (MsgBox(pregunta, MsgStyle::QuestionNoDefault) != MsgResult::Yes)
        return true;
    Err.Clear();
    if (Trap([&] { rs->Delete(); }))
        return true;
    ControlErrores();
    return false;
}

}  // namespace

fEmpresasUsuarios::fEmpresasUsuarios(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fEmpresasUsuarios"));
    setWindowTitle(QStringLiteral("Administración de Empresas o Sucursales - Usuarios"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(8625, 10095));

    auto botones = [this](QWidget* padre, const QString& sufijo, int left, int top, int ancho, QPushButton** b) {
        const QString nombres[5] = {QStringLiteral("bAdicionar"), QStringLiteral("bActualizar"), QStringLiteral("bOmitir"),
                                    QStringLiteral("bEditar"), QStringLiteral("bEliminar")};
        const QString textos[5] = {QStringLiteral("A&dicionar"), QStringLiteral("&Actualizar"), QStringLiteral("&Omitir"),
                                   QStringLiteral("&Editar"), QStringLiteral("E&liminar")};
        for (int i = 0; i < 5; ++i) {
            b[i] = new QPushButton(textos[i], padre);
            b[i]->setObjectName(nombres[i] + sufijo);
            b[i]->setAutoDefault(false);
            geo(b[i], left + i * (ancho + 60), top, ancho, 330);
        }
        b[1]->setEnabled(false);
        b[2]->setEnabled(false);
    };

    // ---- companies ----
    Frame1 = new QGroupBox(QStringLiteral("Datos de la Empresa o Sucursal"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    geo(Frame1, 120, 30, 8385, 4620);
    for (int i = 0; i < 18; ++i)
        txtEmpresas[i] = caja(Frame1, QStringLiteral("txtEmpresas%1").arg(i), 2280, 0, 2900);
    etiqueta(Frame1, QStringLiteral("Codigo de la Empresa :"), 120, 240);
    geo(txtEmpresas[0], 2280, 240, 1200);
    etiqueta(Frame1, QStringLiteral("Encabezado del Recibo de Caja :"), 120, 570, 3000);
    const char* encabezado[4] = {"Nombre :", "Identificacion :", "Dirección :", "Régimen :"};
    for (int i = 1; i <= 4; ++i) {
        etiqueta(Frame1, QString::fromUtf8(encabezado[i - 1]), 360, 570 + i * 300);
        geo(txtEmpresas[i], 2280, 570 + i * 300, 2900);
    }
    etiqueta(Frame1, QStringLiteral("Pie de Página del Recibo de Caja :"), 120, 2130, 3000);
    const char* pie[6] = {"Línea 1 :", "Línea 2 :", "Línea 3 :", "Linea 4 :", "Linea 5 :", "Linea 6 :"};
    for (int i = 5; i <= 10; ++i) {
        etiqueta(Frame1, QString::fromUtf8(pie[i - 5]), 360, 2130 + (i - 4) * 300);
        geo(txtEmpresas[i], 2280, 2130 + (i - 4) * 300, 2900);
        txtEmpresas[i]->setAlignment(Qt::AlignCenter);
    }
    geo(txtEmpresas[11], 120, 4260, 1800);
    llenadaPorCombo(txtEmpresas[11]);
    auto* metodo = etiqueta(Frame1, QStringLiteral("Método definido para el costeo del Inventario en esta Empresa :"), 1980, 4140, 3420);
    metodo->setWordWrap(true);
    geo(metodo, 1980, 4140, 3420, 450);
    cbEmpresas = new QComboBox(Frame1);
    cbEmpresas->setObjectName(QStringLiteral("cbEmpresas11"));
    cbEmpresas->setEditable(true);
    cbEmpresas->addItems({QStringLiteral("PromedioPonderado"), QStringLiteral("PromedioSimple"), QStringLiteral("UltimoPrecio")});
    cbEmpresas->setCurrentIndex(-1);
    cbEmpresas->setEditText(QStringLiteral("UltimoPrecio"));
    geo(cbEmpresas, 5460, 4230, 2760, 315);
    connect(cbEmpresas, &QComboBox::activated, this, [this] { cbEmpresas_Click(); });
    etiqueta(Frame1, QStringLiteral("Listado de Empresas o Sucursales :"), 5460, 240, 2800);
    lstEmpresas = new QListWidget(Frame1);
    lstEmpresas->setObjectName(QStringLiteral("lstEmpresas"));
    geo(lstEmpresas, 5460, 570, 2760, 3510);
    // Carried with the company, outside the visible area.
    txtEmpresas[14]->setMaxLength(11);
    for (int i = 14; i <= 17; ++i) {
        if (i >= 15)
            txtEmpresas[i]->setMaxLength(8);
        txtEmpresas[i]->hide();
    }

    etiqueta(this, QStringLiteral("Consecutivos en Facturas correspondientes a la Empresa o Sucursal :"), 240, 4680, 6000);
    etiqueta(this, QStringLiteral("Consecutivo Actual en Factura de Compra"), 240, 4980, 3200);
    txtEmpresas[12]->setParent(this);
    geo(txtEmpresas[12], 3420, 4980, 780);
    etiqueta(this, QStringLiteral("Consecutivo Actual en Factura de Venta "), 4380, 4980, 3200);
    txtEmpresas[13]->setParent(this);
    geo(txtEmpresas[13], 7560, 4980, 780);
    for (int i : {12, 13})
        txtEmpresas[i]->show();
    // The costing combo stands above the two counters below the frame.
    setTabOrder(txtEmpresas[10], cbEmpresas);
    for (int i : {0, 12, 13, 15, 16, 17})
        FiltrarTeclasNumero(txtEmpresas[i]);
    QPushButton* be[5];
    botones(this, QStringLiteral("Empresa"), 240, 5340, 1520, be);
    bAdicionarEmpresa = be[0], bActualizarEmpresa = be[1], bOmitirEmpresa = be[2], bEditarEmpresa = be[3],
    bEliminarEmpresa = be[4];

    // ---- NCF ranges ----
    auto* linea1 = new QFrame(this);
    linea1->setFrameShape(QFrame::HLine);
    geo(linea1, 120, 5730, 8385, 30);
    etiqueta(this, QStringLiteral("Consecutivos en NCFs correspondientes a la Empresa o Sucursal :"), 240, 5790, 6000);
    const char* rotulos[5] = {"Descripción", "Prefijo NCF", "NCF - Desde", "NCF - Hasta", "Consecutivo Actual"};
    const int izq[5] = {240, 1920, 3120, 4200, 5280}, ancho[5] = {1620, 1140, 1020, 1020, 1560};
    for (int i = 0; i < 6; ++i)
        ncf[i] = caja(this, QStringLiteral("ncf%1").arg(i), 0, 0, 1000);
    for (int i = 0; i < 5; ++i) {
        etiqueta(this, QString::fromUtf8(rotulos[i]), izq[i], 6060, ancho[i]);
        geo(ncf[i], izq[i], 6330, ancho[i]);
    }
    for (int i = 2; i <= 4; ++i) {
        ncf[i]->setMaxLength(8);
        FiltrarTeclasNumero(ncf[i]);
    }
    ncf[5]->hide();
    ncf[5]->setText(QStringLiteral("Text1"));
    idncf = new QLineEdit(this);
    idncf->setObjectName(QStringLiteral("idncf"));
    idncf->hide();
    idncf->setText(QStringLiteral("Text1"));
    etiqueta(this, QStringLiteral("Lista de NCFs:"), 6960, 5790, 1500);
    ncfList = new QListWidget(this);
    ncfList->setObjectName(QStringLiteral("ncfList"));
    geo(ncfList, 6960, 6060, 1545, 1020);
    QPushButton* bn[5];
    botones(this, QStringLiteral("Ncf"), 240, 6720, 1260, bn);
    bAdicionarNcf = bn[0], bActualizarNcf = bn[1], bOmitirNcf = bn[2], bEditarNcf = bn[3], bEliminarNcf = bn[4];
    auto* linea2 = new QFrame(this);
    linea2->setFrameShape(QFrame::HLine);
    geo(linea2, 120, 7110, 8385, 30);

    // ---- users ----
    Frame2 = new QGroupBox(QStringLiteral("Datos del Usuario"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    geo(Frame2, 120, 7170, 8385, 2430);
    const char* usu[4] = {"Codigo de la Empresa :", "Codigo del Usuario :", "Nombre de Usuario :", "Password del Usuario:"};
    for (int i = 0; i < 5; ++i)
        txtUsuarios[i] = caja(Frame2, QStringLiteral("txtUsuarios%1").arg(i), 2100, 240 + i * 300, i < 2 ? 1000 : 2400);
    for (int i = 0; i < 4; ++i)
        etiqueta(Frame2, QString::fromUtf8(usu[i]), 120, 240 + i * 300);
    txtUsuarios[3]->setEchoMode(QLineEdit::Password);
    FiltrarTeclasNumero(txtUsuarios[0]);
    FiltrarTeclasNumero(txtUsuarios[1]);
    etiqueta(Frame2, QStringLiteral("Confirme Password :"), 120, 1440);
    tPassword = caja(Frame2, QStringLiteral("tPassword"), 2100, 1440, 2400);
    AjustarCajas(cajas(txtEmpresas, 18), QStringLiteral("empresas"));
    AjustarCajas(cajas(ncf, 6), QStringLiteral("ncfs"), 1);
    AjustarCajas(cajas(txtUsuarios, 5), QStringLiteral("usuarios"));
    AjustarCajas({tPassword}, QStringLiteral("usuarios"), 3);
    tPassword->setEchoMode(QLineEdit::Password);
    etiqueta(Frame2, QStringLiteral("Nivel del Usuario:"), 120, 1740);
    geo(txtUsuarios[4], 2100, 1740, 1300);
    llenadaPorCombo(txtUsuarios[4]);
    cbUsuarios = new QComboBox(Frame2);
    cbUsuarios->setObjectName(QStringLiteral("cbUsuarios4"));
    cbUsuarios->setEditable(true);
    cbUsuarios->addItems({QStringLiteral("Administrador"), QStringLiteral("Asistente")});
    cbUsuarios->setCurrentIndex(-1);
    cbUsuarios->setEditText(QString());
    geo(cbUsuarios, 3480, 1725, 1500, 315);
    connect(cbUsuarios, &QComboBox::activated, this, [this] { cbUsuarios_Click(); });
    etiqueta(Frame2, QStringLiteral("Lista de Usuarios :"), 5460, 240, 2700);
    lstUsuarios = new QListWidget(Frame2);
    lstUsuarios->setObjectName(QStringLiteral("lstUsuarios"));
    geo(lstUsuarios, 5460, 540, 2760, 1500);
    QPushButton* bu[5];
    botones(Frame2, QStringLiteral("Usuario"), 120, 2040, 1260, bu);
    bAdicionarUsuario = bu[0], bActualizarUsuario = bu[1], bOmitirUsuario = bu[2], bEditarUsuario = bu[3],
    bEliminarUsuario = bu[4];

    Label25 = new QLabel(QStringLiteral("Advertencia !! : Es obligatorio reiniciar la aplicación una vez realizados los cambios."), this);
    Label25->setObjectName(QStringLiteral("Label25"));
    Label25->setWordWrap(true);
    geo(Label25, 120, 9660, 6900, 390);
    bCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    bCerrar->setObjectName(QStringLiteral("bCerrar"));
    bCerrar->setAutoDefault(false);
    geo(bCerrar, 7200, 9660, 1305, 360);

    // ---- handlers ----
    connect(bCerrar, &QPushButton::clicked, this, &fEmpresasUsuarios::bCerrar_Click);
    connect(bAdicionarEmpresa, &QPushButton::clicked, this, &fEmpresasUsuarios::bAdicionarEmpresa_Click);
    connect(bActualizarEmpresa, &QPushButton::clicked, this, &fEmpresasUsuarios::bActualizarEmpresa_Click);
    connect(bOmitirEmpresa, &QPushButton::clicked, this, &fEmpresasUsuarios::bOmitirEmpresa_Click);
    connect(bEditarEmpresa, &QPushButton::clicked, this, &fEmpresasUsuarios::bEditarEmpresa_Click);
    connect(bEliminarEmpresa, &QPushButton::clicked, this, &fEmpresasUsuarios::bEliminarEmpresa_Click);
    connect(bAdicionarNcf, &QPushButton::clicked, this, &fEmpresasUsuarios::bAdicionarNcf_Click);
    connect(bActualizarNcf, &QPushButton::clicked, this, &fEmpresasUsuarios::bActualizarNcf_Click);
    connect(bOmitirNcf, &QPushButton::clicked, this, &fEmpresasUsuarios::bOmitirNcf_Click);
    connect(bEditarNcf, &QPushButton::clicked, this, &fEmpresasUsuarios::bEditarNcf_Click);
    connect(bEliminarNcf, &QPushButton::clicked, this, &fEmpresasUsuarios::bEliminarNcf_Click);
    connect(bAdicionarUsuario, &QPushButton::clicked, this, &fEmpresasUsuarios::bAdicionarUsuario_Click);
    connect(bActualizarUsuario, &QPushButton::clicked, this, &fEmpresasUsuarios::bActualizarUsuario_Click);
    connect(bOmitirUsuario, &QPushButton::clicked, this, &fEmpresasUsuarios::bOmitirUsuario_Click);
    connect(bEditarUsuario, &QPushButton::clicked, this, &fEmpresasUsuarios::bEditarUsuario_Click);
    connect(bEliminarUsuario, &QPushButton::clicked, this, &fEmpresasUsuarios::bEliminarUsuario_Click);
    bEliminarUsuario->installEventFilter(this);
    conectarLista(lstEmpresas, &fEmpresasUsuarios::lstEmpresas_Click);
    conectarLista(ncfList, &fEmpresasUsuarios::ncfList_Click);
    conectarLista(lstUsuarios, &fEmpresasUsuarios::lstUsuarios_Click);
    connect(idncf, &QLineEdit::textChanged, this, [this] { idncf_Change(); });
    connect(txtUsuarios[0], &QLineEdit::textChanged, this, [this] { txtUsuarios_Change(0); });
    connect(txtUsuarios[2], &QLineEdit::textChanged, this, [this] { txtUsuarios_Change(2); });
}

void fEmpresasUsuarios::conectarLista(QListWidget* lst, void (fEmpresasUsuarios::*click)())
{
    // A click runs the handler once, on release, also on the row already
    // chosen; a row chosen by the keyboard or by the program runs it too.
    // The row the list makes current, unchosen, when Tab brings the focus in
    // is no choice: it would empty the box being typed.
    connect(lst, &QListWidget::itemClicked, this, [this, click] { (this->*click)(); });
    connect(lst, &QListWidget::currentRowChanged, this, [this, lst, click](int fila) {
        if (fila >= 0 && !llenando_ && QApplication::mouseButtons() == Qt::NoButton && lst->item(fila)->isSelected())
            (this->*click)();
    });
}

bool fEmpresasUsuarios::eventFilter(QObject* o, QEvent* e)
{
    if (o == bEliminarUsuario && e->type() == QEvent::FocusIn) {
        // Focus coming back when a message box closes is no entry.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
        if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason)
            bEliminarUsuario_GotFocus();
    }
    return QDialog::eventFilter(o, e);
}

QString fEmpresasUsuarios::Seleccion(const QListWidget* lst)
{
    const QListWidgetItem* it = lst->currentItem();
    return it && it->isSelected() ? it->text() : QString();
}

BoxArray fEmpresasUsuarios::cajas(QLineEdit* const* boxes, int n) const
{
    BoxArray a;
    for (int i = 0; i < n; ++i)
        a.append(boxes[i]);
    return a;
}

void fEmpresasUsuarios::Modo(const Seccion& s, qint32 modo)
{
    *s.modo = modo;
    const bool quieto = modo == 3;
    s.adicionar->setEnabled(quieto);
    s.actualizar->setEnabled(!quieto);
    s.omitir->setEnabled(!quieto);
    s.editar->setEnabled(quieto);
}

fEmpresasUsuarios::Seccion fEmpresasUsuarios::empresa()
{
    return {&gModoEmpresa, bAdicionarEmpresa, bActualizarEmpresa, bOmitirEmpresa, bEditarEmpresa,
            &fEmpresasUsuarios::LimpiarEmpresa, &fEmpresasUsuarios::CargarListaEmpresas, txtEmpresas, 18, &cargadoEmpresa_,
            &filaEmpresa_, {12, 13}};
}
fEmpresasUsuarios::Seccion fEmpresasUsuarios::rango()
{
    return {&gModoNcf, bAdicionarNcf, bActualizarNcf, bOmitirNcf, bEditarNcf,
            &fEmpresasUsuarios::LimpiarNcf, &fEmpresasUsuarios::CargarListaNcf, ncf, 6, &cargadoNcf_, &filaNcf_, {4}};
}
fEmpresasUsuarios::Seccion fEmpresasUsuarios::usuario()
{
    return {&gModoUsuario, bAdicionarUsuario, bActualizarUsuario, bOmitirUsuario, bEditarUsuario,
            &fEmpresasUsuarios::LimpiarUsuario, &fEmpresasUsuarios::CargarListaUsuarios, txtUsuarios, 5, &cargadoUsuario_,
            &filaUsuario_, {}};
}

void fEmpresasUsuarios::Cargada(const Seccion& s, ado::Recordset& rs, int primera)
{
    const FilaCargada fila = LeerFila(rs);
    s.fila->clear();
    for (int i = primera; i < fila.size() && i - primera < s.n; ++i)
        s.fila->append(fila[i]);
    for (int k : s.contadores)
        if (k < s.fila->size())
            (*s.fila)[k].reset();
}

void fEmpresasUsuarios::Entrar(const Seccion& s, qint32 modo)
{
    Modo(s, modo);
    if (modo != 1)
        (this->*s.limpiar)();
}

bool fEmpresasUsuarios::Guardar(const Seccion& s, const Resguardo& r)
{
    ValoresCajas guardadas;  // the values as the save wrote them
    bool duplicado = false;
    QString movido;
    const bool revisar = *s.modo == 1 && (!r.otro.isEmpty() || !r.actual.isEmpty());
    const auto antes = [&](ado::Connection& cn, ValoresCajas& v) {
        duplicado = false;
        movido.clear();
        guardadas = v;
        if (!revisar)
            return true;
        if (!r.otro.isEmpty()) {
            ado::Recordset otro;
            otro.Open(r.otro + QStringLiteral(" FOR UPDATE"), cn);
            duplicado = otro.RecordCount() > 0;
        }
        if (duplicado)
            return false;
        if (r.actual.isEmpty())
            return true;
        ado::Recordset actual;
        actual.Open(r.actual + QStringLiteral(" FOR UPDATE"), cn);
        if (actual.RecordCount() < 1)
            return true;
        // A sale on another workstation may have moved a counter since
        // the load: one left alone keeps what is stored, one typed over
        // must start from what was loaded.
        for (int j = 0; j < r.contadores.size(); ++j) {
            const int k = r.contadores[j];
            const QString ahora = actual.Fields(j).Text(), antes = s.cargado->value(k);
            if (v[k] == antes) {
                v[k] = ahora;
            } else if (ahora != antes) {
                movido = r.nombres[j] + QStringLiteral(" cambió en otra estación desde que se cargó el registro (ahora es ")
                         + ahora + QStringLiteral("). Cárguelo de nuevo e inténtelo otra vez");
                return false;
            }
        }
        guardadas = v;
        return true;
    };
    const ValoresCajas valores = LeerCajas(cajas(s.cajas, s.n));
    switch (GuardarEnUnidad(valores, gSQL, *s.modo, *s.modo == 1 ? *s.fila : FilaCargada(), antes)) {
    case Guardado::Si:
        break;
    case Guardado::Rechazado:
        if (duplicado) {
            Err.Set(3022, QStringLiteral("El código pertenece a otro registro"));
            ControlErrores();
            MsgBox(QStringLiteral("Error en Update de la Función DatosActualizados en el módulo 'mFunciones'"));
            MsgBox(kNoActualizado, MsgStyle::Exclamation);
        } else {
            MsgBox(movido, MsgStyle::Exclamation);
        }
        return false;
    case Guardado::Fallo:
        MsgBox(kNoActualizado, MsgStyle::Exclamation);
        return false;
    }
    const ado::RecordsetPtr guardada = gRecordset;
    // The next edit starts from the row as this save left it.
    Cargada(s, *guardada);
    // The section now holds the row as stored.
    s.cargado->clear();
    for (int i = 0; i < s.n; ++i) {
        setTexto(s.cajas[i], guardadas.value(i).value_or(QString()));
        s.cargado->append(s.cajas[i]->text());
    }
    Modo(s, 3);
    (this->*s.cargar)();
    return true;
}

void fEmpresasUsuarios::Llenar(QListWidget* lst, const QString& sql, const QString& campo)
{
    if (AbrirRecordset(sql) && gRecordset->RecordCount() > 0) {
        ado::Recordset& rs = *gRecordset;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            lst->addItem(rs.Fields(campo).Text());
    }
}

// ---- window ----

void fEmpresasUsuarios::Form_Load()
{
    gModoEmpresa = 3;
    gModoUsuario = 3;
    gModoNcf = 3;
    CargarListaEmpresas();
}

void fEmpresasUsuarios::bEliminarUsuario_GotFocus()
{
    // The focus passing over the button (Tab, a disabled button handing it
    // on) never throws away a record being added or edited.
    if (gModoEmpresa != 3 || gModoNcf != 3 || gModoUsuario != 3)
        return;
    Form_Load();
}

void fEmpresasUsuarios::bCerrar_Click() { reject(); }

void fEmpresasUsuarios::Mostrar(QWidget* parent)
{
    fEmpresasUsuarios& w = Ventana<fEmpresasUsuarios>();
    if (w.isVisible())
        return;
    if (parent && w.parentWidget() != parent)
        w.setParent(parent, w.windowFlags());
    w.Form_Load();
    QPointer<fEmpresasUsuarios> guard(&w);
    if (alMostrar)
        QTimer::singleShot(0, &w, [&w] { alMostrar(w); });
    w.exec();
    if (guard)
        CerrarVentana(guard);
}

// ---- companies ----

void fEmpresasUsuarios::CargarListaEmpresas()
{
    llenando_ = true;
    lstEmpresas->clear();
    Llenar(lstEmpresas, QStringLiteral("Select nombre_emp from empresas"), QStringLiteral("nombre_emp"));
    llenando_ = false;
}

void fEmpresasUsuarios::LimpiarEmpresa()
{
    for (int i = 0; i <= 10; ++i)
        txtEmpresas[i]->clear();
}

void fEmpresasUsuarios::lstEmpresas_Click()
{
    const QString nombre = Seleccion(lstEmpresas);
    setTexto(txtEmpresas[1], nombre);
    gSQL = QStringLiteral("Select * from empresas where nombre_emp = ") + SqlStr(nombre);
    if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0) {
        QStringList fila;
        for (int i = 0; i < 18; ++i)
            fila << (i < gRecordset->FieldCount() ? gRecordset->Fields(i).Text() : QString());
        const ado::RecordsetPtr leido = gRecordset;
        for (int i = 0; i < 18; ++i)
            txtEmpresas[i]->setText(fila[i]);
        cargadoEmpresa_ = fila;
        Cargada(empresa(), *leido);
        cbEmpresas->setEditText(txtEmpresas[11]->text());
    }
    setTexto(txtUsuarios[0], txtEmpresas[0]->text());
    CargarListaNcf();
    CargarListaUsuarios();
}

void fEmpresasUsuarios::cbEmpresas_Click() { txtEmpresas[11]->setText(cbEmpresas->currentText()); }

void fEmpresasUsuarios::bAdicionarEmpresa_Click() { Entrar(empresa(), 2); }

void fEmpresasUsuarios::bEditarEmpresa_Click() { Entrar(empresa(), 1); }

void fEmpresasUsuarios::bOmitirEmpresa_Click() { Entrar(empresa(), 3); }

void fEmpresasUsuarios::bActualizarEmpresa_Click()
{
    for (int i = 15; i <= 17; ++i)
        if (txtEmpresas[i]->text().isEmpty())
            txtEmpresas[i]->setText(QStringLiteral("0"));
    const QString metodo = txtEmpresas[11]->text();
    if (metodo != QLatin1String("PromedioPonderado") && metodo != QLatin1String("PromedioSimple")
        && metodo != QLatin1String("UltimoPrecio")) {
        MsgBox(QStringLiteral("Seleccione el Método para el costeo del Inventario"), MsgStyle::Exclamation);
        return;
    }
    // The code goes into the statement: a plain whole number, or nothing
    // (the statement is then refused by the store). Numbers the store would
    // change (sign, decimals, too large) are refused here.
    const QString codigo = txtEmpresas[0]->text();
    if ((!codigo.isEmpty() && !ValidarEntero(codigo, kMaxCodigoEmpresa, QStringLiteral("El código de la empresa")))
        || !ValidarNumeroColumna(txtEmpresas[12]->text(), kMaxNumeroFactura, QStringLiteral("El consecutivo actual en factura de compra"))
        || !ValidarNumeroColumna(txtEmpresas[13]->text(), kMaxNumeroFactura, QStringLiteral("El consecutivo actual en factura de venta"))
        || !ValidarNumeroColumna(txtEmpresas[15]->text(), kMaxNumeroNCF, QStringLiteral("El NCF desde de la empresa"))
        || !ValidarNumeroColumna(txtEmpresas[16]->text(), kMaxNumeroNCF, QStringLiteral("El NCF hasta de la empresa"))
        || !ValidarNumeroColumna(txtEmpresas[17]->text(), kMaxNumeroNCF, QStringLiteral("El consecutivo NCF de la empresa")))
        return;
    MsgBox(QStringLiteral("El método para el costeo del inventario en esta empresa será ") + metodo, MsgStyle::Exclamation);
    gSQL = QStringLiteral("Select * from empresas where codigo_emp = ") + codigo;
    Resguardo r;
    if (gModoEmpresa == 1 && !codigo.isEmpty()) {
        if (cargadoEmpresa_.isEmpty() || codigo.toLongLong() != cargadoEmpresa_[0].toLongLong())
            r.otro = QStringLiteral("Select codigo_emp from empresas where codigo_emp = ") + codigo;
        else
            r = {{}, QStringLiteral("Select consecutivo_compra, consecutivo_venta from empresas where codigo_emp = ") + codigo,
                 {12, 13}, {QStringLiteral("El consecutivo actual en factura de compra"), QStringLiteral("El consecutivo actual en factura de venta")}};
    }
    Guardar(empresa(), r);
}

void fEmpresasUsuarios::bEliminarEmpresa_Click()
{
    const QString codigo = txtEmpresas[0]->text();
    if (codigo.isEmpty()) {
        MsgBox(QStringLiteral("Seleccione la empresa a eliminar"), MsgStyle::Exclamation);
        return;
    }
    if (!PuertaAdministrador())
        return;
    bool encontrada = false;
    if (EsEnteroValido(codigo, kMaxCodigoEmpresa)) {
        gSQL = QStringLiteral("Select * from empresas where codigo_emp = ") + codigo;
        encontrada = AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0;
    }
    if (!encontrada) {
        MsgBox(QStringLiteral("Base de Datos Ocupada."), MsgStyle::Exclamation);
        return;
    }
    const ado::RecordsetPtr rs = gRecordset;
    // The session's own company would take the session's invoices with it.
    if (rs->Fields(QStringLiteral("codigo_emp")).Text() == gCodigoEmp) {
        MsgBox(QStringLiteral("No es posible eliminar la empresa con la que ha iniciado la sesión"), MsgStyle::Exclamation);
        return;
    }
    // One statement: the store takes the users and invoices with it, or
    // nothing.
    if (!Borrar(rs, QStringLiteral("Si elimina la empresa seleccionada, se eliminarán sus usuarios, facturas de compra y "
                                   "facturas de venta relacionadas. Está seguro de continuar?")))
        return;
    LimpiarEmpresa();
    CargarListaEmpresas();
}

// ---- NCF ranges ----

void fEmpresasUsuarios::CargarListaNcf()
{
    llenando_ = true;
    ncfList->clear();
    gSQL = QStringLiteral("Select * from ncfs Where id_sucursal = ") + SqlStr(txtUsuarios[0]->text());
    Llenar(ncfList, gSQL, QStringLiteral("descripcion"));
    llenando_ = false;
}

void fEmpresasUsuarios::LimpiarNcf()
{
    for (int i = 0; i <= 4; ++i)
        ncf[i]->clear();
}

void fEmpresasUsuarios::ncfList_Click()
{
    ncf[0]->setText(Seleccion(ncfList));
    idncf_Change();
}

void fEmpresasUsuarios::idncf_Change()
{
    gSQL = QStringLiteral("Select * from ncfs Where id_sucursal = ") + SqlStr(txtUsuarios[0]->text())
           + QStringLiteral(" and descripcion = ") + SqlStr(Seleccion(ncfList));
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return;
    QStringList fila;
    for (int i = 1; i <= 6; ++i)
        fila << gRecordset->Fields(i).Text();
    const QString id = gRecordset->Fields(QStringLiteral("ID")).Text();
    const ado::RecordsetPtr leido = gRecordset;
    for (int i = 0; i < 6; ++i)
        ncf[i]->setText(fila[i]);
    cargadoNcf_ = fila;
    Cargada(rango(), *leido, 1);
    setTexto(idncf, id);
}

void fEmpresasUsuarios::bAdicionarNcf_Click() { Entrar(rango(), 2); }

void fEmpresasUsuarios::bEditarNcf_Click() { Entrar(rango(), 1); }

void fEmpresasUsuarios::bOmitirNcf_Click() { Entrar(rango(), 3); }

void fEmpresasUsuarios::bActualizarNcf_Click()
{
    const QString sucursal = txtEmpresas[0]->text();
    ncf[5]->setText(sucursal);
    if (enBlanco(ncf[0]->text())) {
        MsgBox(QStringLiteral("Debe introducir una descripción"));
        return;
    }
    for (int i = 2; i <= 4; ++i)
        if (ncf[i]->text().isEmpty())
            ncf[i]->setText(QStringLiteral("0"));
    // A range whose first number lies above its last is for the sale's
    // range check to refuse, not for this save.
    if (!ValidarNumeroColumna(ncf[2]->text(), kMaxNumeroNCF, QStringLiteral("NCF - Desde"))
        || !ValidarNumeroColumna(ncf[3]->text(), kMaxNumeroNCF, QStringLiteral("NCF - Hasta"))
        || !ValidarNumeroColumna(ncf[4]->text(), kMaxNumeroNCF, QStringLiteral("Consecutivo Actual")))
        return;
    gSQL = QStringLiteral("Select descripcion, prefijo, desde, hasta, consecutivo, id_sucursal from ncfs where id_sucursal = ")
           + SqlStr(sucursal);
    const qint32 modo = gModoNcf;
    Resguardo r;
    if (modo == 1) {
        // idncf is only ever "Text1" or a stored ID; "Text1" makes the
        // statement invalid and the store says so.
        gSQL += QStringLiteral(" and ID = ") + idncf->text();
        if (EsEnteroValido(idncf->text(), 2147483647))
            r = {{}, QStringLiteral("Select consecutivo from ncfs where ID = ") + idncf->text(), {4},
                 {QStringLiteral("El consecutivo actual del NCF")}};
    }
    if (!Guardar(rango(), r) || modo != 2)
        return;
    // The new range is the one the next edit or delete acts on.
    if (AbrirRecordset(QStringLiteral("Select ID from ncfs where id_sucursal = ") + SqlStr(sucursal)
                       + QStringLiteral(" and descripcion = ") + SqlStr(ncf[0]->text()) + QStringLiteral(" order by ID desc"))
        && gRecordset->RecordCount() > 0) {
        const QSignalBlocker sinCarga(idncf);
        idncf->setText(gRecordset->Fields(0).Text());
    }
}

void fEmpresasUsuarios::bEliminarNcf_Click()
{
    if (ncf[0]->text().isEmpty()) {
        MsgBox(QStringLiteral("Seleccione un ncf"), MsgStyle::Exclamation);
        return;
    }
    if (!PuertaAdministrador())
        return;
    if (EsEnteroValido(idncf->text(), 2147483647)) {
        gSQL = QStringLiteral("Select * from ncfs where id_sucursal = ") + SqlStr(txtEmpresas[0]->text())
               + QStringLiteral(" and ID = ") + idncf->text();
        if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0) {
            Borrar(gRecordset, QStringLiteral("Está seguro de continuar?"));
        }
    }
    LimpiarNcf();
    CargarListaNcf();
}

// ---- users ----

void fEmpresasUsuarios::CargarListaUsuarios()
{
    llenando_ = true;
    lstUsuarios->clear();
    const QString empresa = txtUsuarios[0]->text();
    if (EsEnteroValido(empresa, kMaxCodigoEmpresa)) {
        gSQL = QStringLiteral("Select * from usuarios Where codigo_emp = ") + empresa;
        Llenar(lstUsuarios, gSQL, QStringLiteral("nombre_usu"));
    }
    llenando_ = false;
}

void fEmpresasUsuarios::LimpiarUsuario()
{
    // Emptying the name is no look-up: the user still chosen in the list
    // would come straight back.
    limpiando_ = true;
    for (int i = 1; i <= 4; ++i)
        txtUsuarios[i]->clear();
    limpiando_ = false;
    cbUsuarios->setEditText(QString());
    tPassword->clear();
}

void fEmpresasUsuarios::txtUsuarios_Change(int Index)
{
    if (Index == 0) {
        // The box never stays empty: the company's code, or "0" while that
        // one is blank. Rewriting it runs this step again.
        if (enBlanco(txtEmpresas[0]->text()))
            setTexto(txtUsuarios[0], QStringLiteral("0"));
        else if (enBlanco(txtUsuarios[0]->text()))
            setTexto(txtUsuarios[0], txtEmpresas[0]->text());
        CargarListaUsuarios();
    } else if (Index == 2) {
        BuscarUsuario();
    }
}

void fEmpresasUsuarios::BuscarUsuario()
{
    if (gModoUsuario != 3 || limpiando_)
        return;
    const QString empresa = txtUsuarios[0]->text();
    if (!EsEnteroValido(empresa, kMaxCodigoEmpresa))
        return;
    gSQL = QStringLiteral("Select * from Usuarios Where codigo_emp = ") + empresa + QStringLiteral(" and nombre_usu = ")
           + SqlStr(Seleccion(lstUsuarios));
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return;
    QStringList fila;
    for (int i = 0; i < 5; ++i)
        fila << gRecordset->Fields(i).Text();
    const QString clave = gRecordset->Fields(QStringLiteral("password_usu")).Text();
    const ado::RecordsetPtr leido = gRecordset;
    for (int i = 0; i < 5; ++i)
        setTexto(txtUsuarios[i], fila[i]);
    cargadoUsuario_ = fila;
    Cargada(usuario(), *leido);
    tPassword->setText(clave);
    cbUsuarios->setEditText(fila[4]);
}

void fEmpresasUsuarios::lstUsuarios_Click()
{
    const QString nombre = Seleccion(lstUsuarios);
    if (txtUsuarios[2]->text() != nombre)
        txtUsuarios[2]->setText(nombre);  // its change handler looks the user up
    else
        BuscarUsuario();
}

void fEmpresasUsuarios::cbUsuarios_Click() { txtUsuarios[4]->setText(cbUsuarios->currentText()); }

void fEmpresasUsuarios::bAdicionarUsuario_Click() { Entrar(usuario(), 2); }

void fEmpresasUsuarios::bEditarUsuario_Click() { Entrar(usuario(), 1); }

void fEmpresasUsuarios::bOmitirUsuario_Click() { Entrar(usuario(), 3); }

void fEmpresasUsuarios::bActualizarUsuario_Click()
{
    if (txtUsuarios[3]->text() != tPassword->text()) {
        MsgBox(QStringLiteral("clave incorrecta"));
        return;
    }
    const QString nivel = txtUsuarios[4]->text();
    if (nivel != QLatin1String("Asistente") && nivel != QLatin1String("Administrador")) {
        MsgBox(QStringLiteral("Seleccione el Nivel del Usuario"), MsgStyle::Exclamation);
        return;
    }
    const QString empresa = txtUsuarios[0]->text();
    if (!ValidarEntero(empresa, kMaxCodigoEmpresa, QStringLiteral("El código de la empresa"))
        || !ValidarEntero(txtUsuarios[1]->text(), kMaxNumeroFactura, QStringLiteral("El código del usuario")))
        return;
    const QString codigo = txtUsuarios[1]->text();
    if (gModoUsuario == 2) {
        gSQL = QStringLiteral("Select codigo_emp from empresas where codigo_emp = ") + empresa;
        if (!AbrirRecordset(gSQL))
            return;
        if (gRecordset->RecordCount() < 1) {
            MsgBox(QStringLiteral("No existe una empresa con el código ") + empresa
                       + QStringLiteral(". Elija la empresa del usuario en el listado de empresas"),
                   MsgStyle::Exclamation);
            return;
        }
    }
    MsgBox(QStringLiteral("Al usuario se le ha asignado el nivel ") + nivel, MsgStyle::Exclamation);
    // The password travels as a field value, never inside the statement.
    gSQL = QStringLiteral("Select * from usuarios Where codigo_emp = ") + empresa;
    Resguardo r;
    if (gModoUsuario == 1) {
        gSQL += QStringLiteral(" And codigo_usu =") + SqlStr(codigo);
        if (cargadoUsuario_.size() < 2 || empresa.toLongLong() != cargadoUsuario_[0].toLongLong() || codigo != cargadoUsuario_[1])
            r.otro = gSQL;
    }
    Guardar(usuario(), r);
}

void fEmpresasUsuarios::bEliminarUsuario_Click()
{
    const QString empresa = txtUsuarios[0]->text(), codigo = txtUsuarios[1]->text();
    if (empresa.isEmpty() || codigo.isEmpty()) {
        MsgBox(QStringLiteral("Seleccione el usuario a eliminar"), MsgStyle::Exclamation);
        return;
    }
    if (!PuertaAdministrador())
        return;
    if (!EsEnteroValido(empresa, kMaxCodigoEmpresa))
        return;
    gSQL = QStringLiteral("Select * from Usuarios where codigo_emp = ") + empresa + QStringLiteral(" And codigo_usu =")
           + SqlStr(codigo);
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return;
    const ado::RecordsetPtr rs = gRecordset;
    // The signed-in user would take the session's invoices with it.
    if (rs->Fields(QStringLiteral("codigo_emp")).Text() == gCodigoEmp
        && rs->Fields(QStringLiteral("codigo_usu")).Text() == gCodigoUsu) {
        MsgBox(QStringLiteral("No es posible eliminar el usuario con el que ha iniciado la sesión"), MsgStyle::Exclamation);
        return;
    }
    if (!Borrar(rs, QStringLiteral("Si elimina el Usuario seleccionado, se eliminarán sus facturas de compra y facturas de "
                                   "venta relacionadas. Está seguro de continuar?")))
        return;
    LimpiarUsuario();
    CargarListaUsuarios();
}
