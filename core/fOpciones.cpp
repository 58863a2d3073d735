#include "fOpciones.h"

#include "Twips.h"
#include "fEmpresasUsuarios.h"
#include "fRetiroRegistros.h"
#include "frmContenedor.h"
#include "mAdministracion.h"
#include "mFuncionesCajas.h"
#include "mVblesGlobales.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

// Before anyone signed in, whoever sits at the sign-in window is nobody yet:
// only the password of an administrator of the chosen company opens the
// door. Compared here, exactly: the store's comparison ignores case.
bool EsClaveDeAdministrador(const QString& clave)
{
    if (!EsEnteroValido(gCodigoEmp, kMaxCodigoEmpresa))
        return false;
    gSQL = QStringLiteral("Select password_usu From usuarios Where codigo_emp = ") + gCodigoEmp
           + QStringLiteral(" And nivel_usu = 'Administrador'");
    if (!AbrirRecordset(gSQL))
        return false;
    ado::Recordset& rs = *gRecordset;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        if (!rs.Fields(0).IsNull() && rs.Fields(0).Text() == clave)
            return true;
    return false;
}

}  // namespace

bool PuertaAdministrador()
{
    if (gNivelUsu != 0) {
        MsgBox(QStringLiteral("No tiene los privilegios para ejecurtar la acción"), MsgStyle::Exclamation);
        return false;
    }
    // Masked, as passwords are; Cancel gives "", an answer like any other.
    const QString clave =
        InputBox(QStringLiteral("digite la clave de acceso"), QStringLiteral("Clave requerida"), QString(), InputEcho::Masked);
    if (gSesionIniciada ? clave != gPasswordUsu : !EsClaveDeAdministrador(clave)) {
        MsgBox(QStringLiteral("Clave incorrecta"));
        return false;
    }
    return true;
}

fOpciones::fOpciones(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fOpciones"));
    setWindowTitle(QStringLiteral("Opciones y Parámetros de la Aplicación"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(6720, 1125));

    auto boton = [this](const char* nombre, const QString& texto, int top) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setAutoDefault(false);
        b->setGeometry(TwipsToPixelsX(120), TwipsToPixelsY(top), TwipsToPixelsX(3480), TwipsToPixelsY(420));
        return b;
    };
    auto etiqueta = [this](const char* nombre, const QString& texto, int top) {
        auto* l = new QLabel(texto, this);
        l->setObjectName(QLatin1String(nombre));
        l->setWordWrap(true);
        l->setGeometry(TwipsToPixelsX(3690), TwipsToPixelsY(top), TwipsToPixelsX(2940), TwipsToPixelsY(420));
        return l;
    };
    bAbrirEmpresasUsuarios = boton("bAbrirEmpresasUsuarios", QStringLiteral("Administrar Empresas-Sucursales y Usuarios"), 120);
    Label1 = etiqueta("Label1", QStringLiteral("Crea usuarios y empresas, define el método para el costeo del inventario"), 120);
    bAbrirRetiroRegistros = boton("bAbrirRetiroRegistros", QStringLiteral("Retirar / Eliminar Facturas"), 600);
    Label2 = etiqueta("Label2", QStringLiteral("Elimina facturas de la empresa seleccionada. "), 600);
    connect(bAbrirEmpresasUsuarios, &QPushButton::clicked, this, &fOpciones::bAbrirEmpresasUsuarios_Click);
    connect(bAbrirRetiroRegistros, &QPushButton::clicked, this, &fOpciones::bAbrirRetiroRegistros_Click);
}

void fOpciones::bAbrirEmpresasUsuarios_Click()
{
    if (!PuertaAdministrador())
        return;
    fEmpresasUsuarios::Mostrar(this);
}

void fOpciones::bAbrirRetiroRegistros_Click()
{
    if (!PuertaAdministrador())
        return;
    fRetiroRegistros::Mostrar(this);
}

void fOpciones::Mostrar()
{
    if (VentanaAbierta<fOpciones>())
        return;
    fOpciones& w = Ventana<fOpciones>();
    if (QWidget* dueno = QApplication::activeWindow()) {
        w.setParent(dueno->window(), w.windowFlags());
        const QRect r = dueno->window()->frameGeometry();
        w.move(r.center() - QPoint(w.width() / 2, w.height() / 2));
    }
    QPointer<fOpciones> guard(&w);
    if (alMostrar)
        QTimer::singleShot(0, &w, [&w] { alMostrar(w); });
    w.exec();
    if (guard)
        CerrarVentana(guard);
}

void RegistrarMenusAdministracion()
{
    RegistrarAbridor(QStringLiteral("params"), [] { fOpciones::Mostrar(); });
}
