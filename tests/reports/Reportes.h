// Fixtures of the report tests: a signed-in company with its header and
// footer values, stored invoices written directly, and the report files read
// back as the single-byte text they are.
#pragma once

#include "AppPath.h"
#include "TestStore.h"
#include "WebBrowser.h"
#include "fReporteBase.h"
#include "mReportes.h"
#include "mVblesGlobales.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace rep {

// How every expected document starts.
inline const QString kHead = QStringLiteral("<HTML><HEAD><META NAME='GENERATOR' Content='Microsoft Visual Studio 6.0'></HEAD>");

// A test's start: the application in an empty folder of its own, message
// boxes and the browser recorded.
inline void empezar(const QTemporaryDir& dir)
{
    QVERIFY(dir.isValid());
    SetAppPath(dir.path());
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    msgtest::install();
    webtest::install();
}

// A test's end: the report windows left open are closed, then empezar undone.
inline void terminar()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<fReporteBase*>(w))
            CerrarVentana(w);
    webtest::uninstall();
    msgtest::uninstall();
    SetAppPath(QString());
}

// Company 1 with values that need escaping or lie outside ASCII.
inline void firmar()
{
    gCodigoEmp = QStringLiteral("1");
    gCodigoUsu = QStringLiteral("1");
    gNombreEmp = QStringLiteral("FERRETERIA LA LLAVE");
    gIdentificacionEmp = QStringLiteral("RNC 1-01-12345-6");
    gDireccionEmp = QStringLiteral("C/ Duarte 12");
    gRegimenEmp = QStringLiteral("Régimen Ordinario");
    for (int i = 1; i <= 6; ++i)
        gPieFactura[i].clear();
    gPieFactura[1] = QStringLiteral("Gracias");
    gPieFactura[2] = QStringLiteral("Vuelva pronto");
    gNombreUsu = QStringLiteral("MARIA");
    gPuertoCOM = QStringLiteral("1");
    gPuertoLPT = QStringLiteral("LPT1");
}

inline void cliente(const teststore::Target& t, const QString& codigo, const QString& nombre, const QString& ident,
                    const QString& tel)
{
    teststore::execRaw(t, QStringLiteral("INSERT INTO CLIENTES (codigo_cli, nombre_cli, identificacion_cli, telefono_cli) "
                                         "VALUES ('%1', '%2', '%3', '%4')")
                              .arg(codigo, nombre, ident, tel));
}

struct Cabecera {
    int numero = 1;
    QString fecha = QStringLiteral("2010-09-02");
    QString estado = QStringLiteral("Cancelada");
    double neto = 0, impuesto = 0, descuento = 0, abono = 0, saldo = 0, total = 0;
    int empresa = 1;
    QString tercero = QStringLiteral("0");
    QString ncf = QStringLiteral("NULL");  // SQL text
    QString vence = QStringLiteral("NULL");
    QString forma = QStringLiteral("CONTADO");
};

inline QString num(double v) { return QString::number(v, 'g', 17); }

// A header of Ventas (or Compras) and its lines (article, description,
// quantity, unit value, tax rate, subtotal).
struct Linea {
    QString art, desc;
    int cantidad;
    double unitario;
    int impuesto;
    double subtotal;
};

inline void guardarFactura(const teststore::Target& t, bool venta, const Cabecera& c, const QList<Linea>& lineas = {})
{
    const QString tabla = venta ? QStringLiteral("Ventas") : QStringLiteral("Compras");
    const QString tercero = venta ? QStringLiteral("codigo_cli") : QStringLiteral("codigo_prov");
    teststore::execRaw(t, QStringLiteral("INSERT INTO %1 (codigo_fac, %2, fecha, forma_pago, valor_neto, impuesto_total, descuento, "
                                         "abono, saldo, total, notas, Estado, fecha_vencimiento, codigo_emp, codigo_usu, ncf) "
                                         "VALUES (%3, '%4', '%5', '%6', %7, %8, %9, %10, %11, %12, '', '%13', %14, %15, '1', %16)")
                              .arg(tabla, tercero)
                              .arg(c.numero)
                              .arg(c.tercero, c.fecha, c.forma, num(c.neto), num(c.impuesto), num(c.descuento), num(c.abono),
                                   num(c.saldo))
                              .arg(num(c.total), c.estado, c.vence)
                              .arg(c.empresa)
                              .arg(c.ncf));
    const QString det = venta ? QStringLiteral("Detalles_FacVen") : QStringLiteral("Detalles_FacCom");
    for (const Linea& l : lineas)
        teststore::execRaw(t, QStringLiteral("INSERT INTO %1 (codigo_fac, codigo_emp, codigo_art, descripcion_art, cantidad, "
                                             "valor_unitario, impuesto, SubTotal, precio_compra_det) VALUES (%2, %3, '%4', '%5', %6, %7, %8, %9, 0)")
                                  .arg(det)
                                  .arg(c.numero)
                                  .arg(c.empresa)
                                  .arg(l.art, l.desc)
                                  .arg(l.cantidad)
                                  .arg(num(l.unitario))
                                  .arg(l.impuesto)
                                  .arg(num(l.subtotal)));
}

inline QString ruta(const QString& archivo) { return QDir(CarpetaReportes()).filePath(archivo); }
inline bool existe(const QString& archivo) { return QFile::exists(ruta(archivo)); }

// The report file as bytes, decoded as the single-byte text it is written in.
inline QByteArray bytes(const QString& archivo)
{
    QFile f(ruta(archivo));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}
inline QString texto(const QString& archivo) { return QString::fromLatin1(bytes(archivo)); }

// Every caption of w shows whole at its font: a button's within the part of
// the button its style draws text in, a label's within the label and clear
// of the controls beside it, a list's longest item within the list, a
// calendar's day names within the calendar.
inline void textosEnteros(QWidget& w)
{
    const QList<QWidget*> hijos = w.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* c : hijos) {
        if (!c->isVisibleTo(&w))
            continue;
        const QString nombre = c->objectName();
        if (auto* b = qobject_cast<QPushButton*>(c)) {
            QStyleOptionButton opt;
            opt.initFrom(b);
            opt.text = b->text();
            const int cabe = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b).width();
            QString texto = b->text();
            texto.remove(QLatin1Char('&'));
            const int ancho = b->fontMetrics().horizontalAdvance(texto);
            QVERIFY2(ancho <= cabe, qPrintable(QStringLiteral("%1 \"%2\": %3 > %4").arg(nombre, texto).arg(ancho).arg(cabe)));
        } else if (auto* l = qobject_cast<QLabel*>(c)) {
            QRect texto = l->contentsRect().translated(l->pos());
            if (l->wordWrap()) {
                const int alto = l->heightForWidth(l->width());
                QVERIFY2(alto <= l->height(), qPrintable(QStringLiteral("%1: %2 > %3").arg(nombre).arg(alto).arg(l->height())));
            } else {
                const int ancho = l->fontMetrics().horizontalAdvance(l->text());
                QVERIFY2(ancho <= texto.width(), qPrintable(QStringLiteral("%1: %2 > %3").arg(nombre).arg(ancho).arg(texto.width())));
                texto.setWidth(ancho);
            }
            for (QWidget* otro : hijos)
                if (otro != c && otro->isVisibleTo(&w))
                    QVERIFY2(!otro->geometry().intersects(texto), qPrintable(nombre + QStringLiteral(" runs into ") + otro->objectName()));
        } else if (auto* cb = qobject_cast<QComboBox*>(c)) {
            QVERIFY2(cb->sizeHint().width() <= cb->width(), qPrintable(nombre));
        } else if (auto* cal = qobject_cast<QCalendarWidget*>(c)) {
            // Below its size hint the day names shrink to "...".
            QVERIFY2(cal->sizeHint().width() <= cal->width() && cal->sizeHint().height() <= cal->height(), qPrintable(nombre));
            for (QWidget* otro : hijos)
                if (otro != c && otro->isVisibleTo(&w) && qobject_cast<QCalendarWidget*>(otro))
                    QVERIFY2(!otro->geometry().intersects(cal->geometry()), qPrintable(nombre + QStringLiteral(" covers ") + otro->objectName()));
        }
    }
}

// With TARVIK_FOTOS naming a folder, the window is saved there as a
// picture, for looking at the reports by eye.
inline void foto(QWidget& w, const QString& nombre)
{
    const QString dir = qEnvironmentVariable("TARVIK_FOTOS");
    if (dir.isEmpty())
        return;
    w.show();
    QApplication::processEvents();
    w.grab().save(dir + "/" + nombre + ".png");
}

}  // namespace rep
