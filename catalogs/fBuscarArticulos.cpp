#include "fBuscarArticulos.h"

#include "ListView.h"
#include "StatusBar.h"
#include "fArticulos.h"
#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas.h"
#include "mVentanas.h"
#include "textfmt.h"

#include <QGroupBox>
#include <QLineEdit>

ComboCriterio::ComboCriterio(const QString& sql, QWidget* parent) : QComboBox(parent), sql_(sql)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Typed text stays as typed: no completion from the list.
    setCompleter(nullptr);
}

void ComboCriterio::Rellenar()
{
    const QString escrito = currentText();
    clear();
    if (AbrirRecordset(sql_)) {
        for (gRecordset->MoveFirst(); !gRecordset->Eof(); gRecordset->MoveNext())
            addItem(gRecordset->Fields(0).Text());
    }
    setCurrentIndex(-1);
    setEditText(escrito);
}

void ComboCriterio::showPopup()
{
    if (sql_.isEmpty())
        return;
    Rellenar();
    QComboBox::showPopup();
}

namespace {
struct Criterio {
    ComboCriterio* fBuscarArticulos::*combo;
    const char* nombre;
    const char* etiqueta;
    const char* sql;  // of the drop-down list; empty for typing only
    int left, top, width;
};

const Criterio kCriterios[] = {
    {&fBuscarArticulos::cbCodigo_art, "cbCodigo_art", "Código del Artículo :", "", 345, 375, 2145},
    {&fBuscarArticulos::cbPrecio_compra, "cbPrecio_compra", "Precio de compra :", "", 2580, 375, 2145},
    {&fBuscarArticulos::cbPrecio_Venta1, "cbPrecio_Venta1", "Precio de Venta 1 :", "", 4815, 375, 2025},
    {&fBuscarArticulos::cbDescripcion_art, "cbDescripcion_art", "Descripción :", "select descripcion_art from Articulos", 345,
     915, 4410},
    {&fBuscarArticulos::cbImpuesto, "cbImpuesto", "Impuesto (Artículos Gravados) :", "select distinct impuesto from Articulos",
     4815, 915, 2025},
    {&fBuscarArticulos::cbNombre_prov, "cbNombre_prov", "Proveedor :", "select distinct nombre_prov from Proveedores", 345, 1485,
     4410},
    {&fBuscarArticulos::cbUbicacion, "cbUbicacion", "Ubicación en Almacén :", "select distinct ubicacion from Articulos", 4800,
     1485, 2040},
    {&fBuscarArticulos::cbTipo_art, "cbTipo_art", "Tipo de Producto :", "select distinct tipo_art from Articulos", 2535, 2040,
     2145},
    {&fBuscarArticulos::cbCantidad, "cbCantidad", "Por debajo de la cantidad :", "", 4770, 2040, 2055},
};

QString Contiene(const QString& t) { return SqlStr(QLatin1Char('%') + t + QLatin1Char('%')); }
}  // namespace

fBuscarArticulos::fBuscarArticulos()
    : fBuscarBase(QStringLiteral("fBuscarArticulos"), QStringLiteral("Búsqueda y clasificacion de Artículos"), 8865, 5505)
{
    ColocarTw(Frame1, 60, 0, 6945, 2460);
    Frame1->setToolTip(QStringLiteral("Despliegue la caja de texto, digite el criterio y a continuación presione Flecha Abajo"));
    for (const Criterio& c : kCriterios) {
        auto* cb = new ComboCriterio(QString::fromUtf8(c.sql), Frame1);
        cb->setObjectName(QString::fromLatin1(c.nombre));
        ColocarTw(cb, c.left, c.top, c.width, 315);
        this->*c.combo = cb;
        Etiqueta(QString::fromUtf8(c.etiqueta), cb);
    }
    AjustarEtiquetas();

    Botones(7065, 1725, 60, 450, 2085);
    Lista(15, 2460, 8835, 2715,
          {QStringLiteral("Código"), QStringLiteral("Descripción"), QStringLiteral("Precio Compra"), QStringLiteral("Precio Venta1"),
           QStringLiteral("Impuesto"), QStringLiteral("Proveedor 1"), QStringLiteral("Proveedor 2"), QStringLiteral("Proveedor 3"),
           QStringLiteral("Ubicación"), QStringLiteral("Tipo de Producto"), QStringLiteral("Cantidad")},
          {2000, 4000, 1440, 1440, 1440, 3000, 3000, 3000, 2500, 2500, 1440});
}

void fBuscarArticulos::bBuscar_Click()
{
    QString sql = QStringLiteral("Select codigo_art,descripcion_art,precio_compra,precio_venta1,impuesto,nombre_prov1,nombre_prov2,"
                                 "nombre_prov3,ubicacion,tipo_art,cantidad From Articulos Where descripcion_art <> ''");
    QString n;
    const QString codigo = cbCodigo_art->currentText();
    if (!codigo.isEmpty())
        sql += QStringLiteral(" And codigo_art LIKE ") + SqlStr(codigo + QLatin1Char('%'));
    if (const QString t = cbPrecio_compra->currentText(); !t.isEmpty()) {
        if (!Numero(t, QStringLiteral("Precio de compra"), n))
            return;
        sql += QStringLiteral(" And precio_compra = ") + n;
    }
    if (const QString t = cbPrecio_Venta1->currentText(); !t.isEmpty()) {
        if (!Numero(t, QStringLiteral("Precio de Venta 1"), n))
            return;
        sql += QStringLiteral(" And precio_venta1 = ") + n;
    }
    if (const QString t = cbDescripcion_art->currentText(); !t.isEmpty())
        sql += QStringLiteral(" And descripcion_art LIKE ") + Contiene(t);
    if (const QString t = cbImpuesto->currentText(); !t.isEmpty()) {
        if (!Numero(t, QStringLiteral("Impuesto"), n))
            return;
        sql += QStringLiteral(" And impuesto = ") + n;
    }
    if (const QString t = cbNombre_prov->currentText(); !t.isEmpty()) {
        const QString p = Contiene(t);
        sql += QStringLiteral(" And (nombre_prov1 LIKE ") + p + QStringLiteral(" OR nombre_prov2 LIKE ") + p
               + QStringLiteral(" OR nombre_prov3 LIKE ") + p + QLatin1Char(')');
    }
    if (const QString t = cbUbicacion->currentText(); !t.isEmpty())
        sql += QStringLiteral(" And ubicacion LIKE ") + Contiene(t);
    if (const QString t = cbTipo_art->currentText(); !t.isEmpty())
        sql += QStringLiteral(" And tipo_art LIKE ") + Contiene(t);
    if (const QString t = cbCantidad->currentText(); !t.isEmpty()) {
        if (!Numero(t, QStringLiteral("Por debajo de la cantidad"), n))
            return;
        sql += QStringLiteral(" And cantidad < ") + n;
    }
    gSQL = sql;
    LlenarListView(gSQL, lvw, sb);
}

void fBuscarArticulos::bRestaurar_Click()
{
    for (const Criterio& c : kCriterios) {
        (this->*c.combo)->setCurrentIndex(-1);
        (this->*c.combo)->setEditText(QString());
    }
}

void fBuscarArticulos::lvw_DblClick()
{
    if (!HaySeleccion())
        return;
    const QString codigo = CodigoSeleccionado();
    // The sale is asked first, whichever window opened the dialog.
    if (EntregarArticulo(FacturaDestino::Venta, codigo) || EntregarArticulo(FacturaDestino::Compra, codigo)) {
        Cerrar();
        return;
    }
    Ventana<fArticulos>().Editar(codigo);
}
