#include "fBuscarTerceros.h"

#include "ListView.h"
#include "StatusBar.h"
#include "fDatosTercero.h"
#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas.h"
#include "mVentanas.h"
#include "textfmt.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace {
// How a criterion matches its column.
enum class Coincide { Empieza, Contiene, Igual };

struct Criterio {
    QLineEdit* fBuscarTerceros::*caja;
    const char* campo;  // name after "t" and column before the suffix
    Coincide modo;
    int left, top, width;
    bool derecha;
};

// In the order their clauses are added.
const Criterio kCriterios[] = {
    {&fBuscarTerceros::tCodigo, "Codigo", Coincide::Empieza, 975, 435, 2160, false},
    {&fBuscarTerceros::tNombre, "Nombre", Coincide::Contiene, 975, 1035, 2160, false},
    {&fBuscarTerceros::tIdentificacion, "Identificacion", Coincide::Igual, 3195, 435, 1845, true},
    {&fBuscarTerceros::tDireccion, "Direccion", Coincide::Contiene, 3240, 1020, 4980, false},
    {&fBuscarTerceros::tTelefono, "Telefono", Coincide::Igual, 5100, 435, 1545, true},
    {&fBuscarTerceros::tFax, "Fax", Coincide::Igual, 6675, 435, 1545, false},
};

QString Patron(Coincide modo, const QString& t)
{
    switch (modo) {
    case Coincide::Empieza:
        return SqlStr(t + QLatin1Char('%'));
    case Coincide::Contiene:
        return SqlStr(QLatin1Char('%') + t + QLatin1Char('%'));
    case Coincide::Igual:
        break;
    }
    // The criterion may carry its own % wildcards.
    return SqlStr(t);
}
}  // namespace

fBuscarTerceros::fBuscarTerceros(const Diseno& d)
    : fBuscarBase(d.nombre, d.caption, d.anchoTw, 5505), sufijo_(d.sufijo), tabla_(d.tabla), factura_(d.factura)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    ColocarTw(Frame1, 60, 0, 8340, 1455);
    auto* dibujo = new QLabel(Frame1);
    dibujo->setPixmap(QApplication::style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(Tw(480), Tw(480)));
    ColocarTw(dibujo, 240, 480, 480, 480);

    const QString etiquetas[6] = {d.etiquetaCodigo,
                                  d.etiquetaNombre,
                                  QStringLiteral("Número de Identificación :"),
                                  QStringLiteral("Dirección :"),
                                  QStringLiteral("Teléfono"),
                                  QStringLiteral("Fax :")};
    for (int i = 0; i < 6; ++i) {
        const Criterio& c = kCriterios[i];
        auto* box = new QLineEdit(Frame1);
        box->setObjectName(QStringLiteral("t") + QString::fromLatin1(c.campo) + QLatin1Char('_') + d.sufijo);
        ColocarTw(box, c.left, c.top, c.width, 315);
        if (c.derecha)
            box->setAlignment(Qt::AlignRight);
        this->*c.caja = box;
        Etiqueta(etiquetas[i], box);
    }
    AjustarEtiquetas();
    tNombre->setMaxLength(70);

    Botones(d.botonesLeft, 1410, 75, 465, 1095);
    Lista(d.lista[0], d.lista[1], d.lista[2], d.lista[3],
          {QStringLiteral("Código"), QStringLiteral("Nombre"), QStringLiteral("Identificación"), QStringLiteral("Dirección"),
           QStringLiteral("Teléfono"), QStringLiteral("Fax")},
          // The address column reaches the list's right edge, so that the
          // telephone starts out of sight rather than cut at it.
          {1440, 2700, 1440, 4320, 1440, 1440});
}

void fBuscarTerceros::bBuscar_Click()
{
    const QString s = sufijo_;
    QString sql = QStringLiteral("Select codigo_%1,nombre_%1,identificacion_%1,direccion_%1,telefono_%1,fax_%1 From %2 Where nombre_%1 <> ''")
                      .arg(s, tabla_);
    for (const Criterio& c : kCriterios) {
        const QString t = (this->*c.caja)->text();
        if (t.isEmpty())
            continue;
        sql += QStringLiteral(" And ") + QString::fromLatin1(c.campo).toLower() + QLatin1Char('_') + s + QStringLiteral(" LIKE ")
               + Patron(c.modo, t);
    }
    gSQL = sql;
    LlenarListView(gSQL, lvw, sb);
}

void fBuscarTerceros::bRestaurar_Click()
{
    for (const Criterio& c : kCriterios)
        (this->*c.caja)->clear();
}

void fBuscarTerceros::lvw_DblClick()
{
    if (!HaySeleccion())
        return;
    const QString codigo = CodigoSeleccionado();
    // Only the invoice of this kind of party takes the code: a client is
    // never written into a purchase's supplier box, nor a supplier into a
    // sale's.
    if (EntregarTercero(factura_, codigo)) {
        Cerrar();
        return;
    }
    Propiedad().Editar(codigo);
}
