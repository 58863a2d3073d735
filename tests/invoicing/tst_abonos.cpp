// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Escrituras.h"
#include "Foco.h"
#include "ListView.h"
#include "Procesos.h"
#include "Prueba.h"
#include "TestStore.h"
#include "fAdmCompras.h"
#include "fAdmTerceros.h"
#include "fAdmVentas.h"
#include "fFact_xCobrar.h"
#include "fFact_xPagar.h"
#include "frmContenedor.h"
#include "mAbonos.h"
#include "mCuentas.h"
#include "mVblesGlobales.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {

// One side of the accounts: receivables on sales, payables on purchases.
struct Lado {
    QString facturas, abonos, terceros, sufijo;
    bool pagar = false;
};
const Lado kCobrar{"Ventas", "Fact_xCobrar", "CLIENTES", "cli", false};
const Lado kPagar{"Compras", "Fact_xPagar", "PROVEEDORES", "prov", true};
const Lado& LadoDe(const QString& nombre) { return nombre == "pagar" ? kPagar : kCobrar; }

std::unique_ptr<fCuentaBase> ventana(const Lado& l)
{
    if (l.pagar)
        return std::make_unique<fFact_xPagar>();
    return std::make_unique<fFact_xCobrar>();
}

void firmar()
{
    gCodigoEmp = "1";
    gCodigoUsu = "1";
    gNombreEmp = "EMPRESA PRINCIPAL";
}

QString num(double x) { return QString::number(x, 'g', 17); }

void tercero(const teststore::Target& t, const Lado& l, const QString& codigo, const QString& nombre)
{
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_%2, nombre_%2, identificacion_%2, telefono_%2, fax_%2) "
                                  "VALUES ('%3', '%4', 'ID%3', 'TEL%3', 'FAX%3')")
                              .arg(l.terceros, l.sufijo, codigo, nombre));
}

void pago(const teststore::Target& t, const Lado& l, int factura, int numero, double valor, const QString& fecha = "2026-01-05",
          int emp = 1)
{
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, num_abono, valor_abono, fecha_abono, codigo_emp) "
                                  "VALUES (%2, %3, %4, '%5', %6)")
                              .arg(l.abonos)
                              .arg(factura)
                              .arg(numero)
                              .arg(num(valor), fecha)
                              .arg(emp));
}

// An applied invoice with its first payment (the amount paid with it).
void factura(const teststore::Target& t, const Lado& l, int numero, const QString& parte, double total, double abono,
             const QString& fecha = "2026-01-05", const QString& estado = "Sin Cancelar", int emp = 1)
{
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, codigo_%2, fecha, forma_pago, valor_neto, impuesto_total, "
                                  "descuento, abono, saldo, total, notas, Estado, fecha_vencimiento, codigo_emp, codigo_usu, ncf) "
                                  "VALUES (%3, '%4', '%5', 'CREDITO', %6, 0, 0, %7, %8, %6, '', '%9', '%5', %10, '1', '')")
                              .arg(l.facturas, l.sufijo)
                              .arg(numero)
                              .arg(parte, fecha, num(total), num(abono), num(RoundHalfEven(total - abono, 2)), estado)
                              .arg(emp));
    if (estado == "Sin Cancelar")
        pago(t, l, numero, 1, abono, fecha, emp);
}

void segundaEmpresa(const teststore::Target& t)
{
    teststore::execRaw(t, "INSERT INTO empresas (codigo_emp, nombre_emp, costeo_inventario, consecutivo_compra, "
                          "consecutivo_venta) VALUES (2, 'SUCURSAL', 'PromedioPonderado', 0, 0)");
    teststore::execRaw(t, "INSERT INTO usuarios (codigo_emp, codigo_usu, nombre_usu, password_usu, nivel_usu) "
                          "VALUES (2, '1', 'OTRO', '1', 'Administrador')");
}

QString campo(const teststore::Target& t, const Lado& l, int numero, const QString& columna, int emp = 1)
{
    const QVariant v = teststore::scalarRaw(
        t, QString("SELECT %1 FROM %2 WHERE codigo_fac = %3 AND codigo_emp = %4").arg(columna, l.facturas).arg(numero).arg(emp));
    return v.toString();
}

// "num=valor" of the payments of an invoice, highest number first.
QStringList pagos(const teststore::Target& t, const Lado& l, int numero, int emp = 1)
{
    QStringList out;
    for (const teststore::Row& r : teststore::rowsRaw(t, QString("SELECT num_abono, valor_abono FROM %1 WHERE codigo_fac = %2 "
                                                                 "AND codigo_emp = %3 ORDER BY num_abono DESC")
                                                             .arg(l.abonos)
                                                             .arg(numero)
                                                             .arg(emp)))
        out << r["num_abono"].toString() + "=" + r["valor_abono"].toString();
    return out;
}

// Every row of the invoice and payment tables, as text.
QStringList volcado(const teststore::Target& t)
{
    QStringList out;
    for (const char* tabla : {"Ventas", "Fact_xCobrar", "Compras", "Fact_xPagar"}) {
        QStringList filas;
        for (const QVariantList& r : teststore::queryRaw(t, QString("SELECT * FROM ") + tabla)) {
            QStringList c;
            for (const QVariant& v : r)
                c << (v.isNull() ? QString("<null>") : v.toString());
            filas << c.join('|');
        }
        filas.sort();
        out << QString(tabla) + ": " + filas.join(" / ");
    }
    return out;
}

// The invoice of that number chosen in the window, as a click does it.
void elegir(fCuentaBase& w, const QString& numero)
{
    for (int i = 1; i <= w.lvwFacturas->count(); ++i)
        if (w.lvwFacturas->text(i) == numero) {
            w.lvwFacturas->select(i);
            w.lvwFacturas_Click();
            return;
        }
    QFAIL(qPrintable("invoice not listed: " + numero));
}

void fechas(fCuentaBase& w, const QString& abono = "15/03/2026", const QString& vence = "15/04/2026")
{
    w.txt[4]->setText(abono);
    w.txtFecha_vencimiento->setText(vence);
}

// A mouse click on row fila of l, as a clerk chooses a row.
void clic(ListView* l, int fila)
{
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualRect(l->model()->index(fila - 1, 0)).center());
}

// The row of l whose item text is texto; 0 when not listed.
int fila(const ListView* l, const QString& texto)
{
    for (int i = 1; i <= l->count(); ++i)
        if (l->text(i) == texto)
            return i;
    return 0;
}

// "num=valor" of the payments the window lists, in list order.
QStringList listados(const fCuentaBase& w)
{
    QStringList out;
    for (int i = 1; i <= w.lvwAbonos->count(); ++i)
        out << w.lvwAbonos->text(i) + "=" + w.lvwAbonos->subItem(i, 1);
    return out;
}

// The data rows of a test run on both windows.
void lados()
{
    QTest::addColumn<QString>("lado");
    QTest::newRow("cobrar") << "cobrar";
    QTest::newRow("pagar") << "pagar";
}

// The invoice that looks chosen: the selected row's number, "" for none.
QString seleccionada(const fCuentaBase& w) { return w.lvwFacturas->text(w.lvwFacturas->selectedIndex()); }

using escrituras::FalloEnEscritura;

// A child process: veces rounds, each paying 10 on invoice 1 and on invoice
// 2 of the receivables; prints how many of each were stored.
int Abonos(const QStringList& args)
{
    const teststore::Target t = procesos::DestinoDeArgumentos(args);
    const int veces = args.value(6).toInt();
    msgtest::install();
    teststore::openOn(Conexion(), t);
    firmar();
    int grande = 0, chica = 0;
    const QDate hoy(2026, 3, 1);
    for (int i = 0; i < veces; ++i) {
        const ResultadoAbono a = AbonarFactura(TablasPorCobrar(), "1", 10, hoy, hoy);
        if (a.estado == EstadoAbono::Hecho)
            ++grande;
        else
            return 2;
        const ResultadoAbono b = AbonarFactura(TablasPorCobrar(), "2", 10, hoy, hoy);
        if (b.estado == EstadoAbono::Hecho || b.estado == EstadoAbono::Cancelada)
            ++chica;
        else if (b.estado != EstadoAbono::YaCancelada && b.estado != EstadoAbono::SaldoInsuficiente)
            return 3;
    }
    printf("%d %d\n", grande, chica);
    return 0;
}

}  // namespace

class TstAbonos : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        ado::Connection::setWriteHook({});
        for (QWidget* w : {static_cast<QWidget*>(VentanaAbierta<fFact_xCobrar>()),
                           static_cast<QWidget*>(VentanaAbierta<fFact_xPagar>())})
            delete w;
        Prueba::cleanup();
    }

    void flujoCompleto_data() { lados(); }
    // Listing, choosing, a partial payment and the payment that closes the
    // invoice, on both windows.
    void flujoCompleto()
    {
        QFETCH(QString, lado);
        const Lado& l = LadoDe(lado);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, l, "7", "SIETE");
        tercero(t, l, "8", "OCHO");
        factura(t, l, 10, "7", 1000, 200, "2026-01-05");
        factura(t, l, 11, "7", 300, 0, "2026-02-01");
        factura(t, l, 12, "8", 500, 0, "2026-01-07", "Anulada");
        factura(t, l, 13, "8", 500, 500, "2026-01-08", "Cancelada");
        auto w = ventana(l);
        QCOMPARE(w->fraTitulo->title(), QString(l.pagar ? "Facturas pendientes por pagar a Proveedores en la Empresa o Sucursal "
                                                        : "Facturas pendientes por cobrar a Clientes en la Empresa o Sucursal ")
                                             + "EMPRESA PRINCIPAL");
        QCOMPARE(w->tCodigo->objectName(), QString(l.pagar ? "tCodigo_prov" : "tCodigo_cli"));
        // Only parties with unpaid invoices.
        QCOMPARE(w->lvwTerceros->count(), 1);
        QCOMPARE(w->lvwTerceros->text(1), QString("7"));
        QCOMPARE(w->lvwTerceros->subItem(1, 1), QString("SIETE"));
        QCOMPARE(w->lvwTerceros->subItem(1, 4), QString("FAX7"));

        w->lvwTerceros->select(1);
        w->lvwTerceros_Click();
        QCOMPARE(w->tCodigo->text(), QString("7"));
        QCOMPARE(w->lvwFacturas->count(), 2);
        QCOMPARE(w->lvwFacturas->text(1), QString("11"));  // newest first
        QCOMPARE(w->lvwFacturas->text(2), QString("10"));
        QCOMPARE(w->lvwFacturas->subItem(2, 1), QString("1000"));
        QCOMPARE(w->lvwFacturas->subItem(2, 2), QString("200"));
        QCOMPARE(w->lvwFacturas->subItem(2, 3), QString("800"));
        QCOMPARE(w->lvwAbonos->count(), 0);

        elegir(*w, "10");
        QCOMPARE(w->txt[0]->text(), QString("10"));
        QCOMPARE(w->lcodigo_fac->text(), QString("Valor a abonar a la Factura 10"));
        QCOMPARE(w->txt[3]->text(), QString("800"));
        QCOMPARE(w->lvwAbonos->count(), 1);
        QCOMPARE(w->lvwAbonos->text(1), QString("1"));
        QCOMPARE(w->lvwAbonos->subItem(1, 1), QString("200"));

        // Empty dates: refused and filled with today; the second click goes on.
        const QStringList antes = volcado(t);
        w->txt[2]->setText("300");
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{QString("Ingrese una fecha válida en '%1' y en 'Próxima Fecha de Vencimiento'")
                                                   .arg(l.pagar ? "Fecha del abono" : "Fecha del Abono")});
        QCOMPARE(w->txt[4]->text(), FormatDate(QDate::currentDate()));
        QCOMPARE(w->txtFecha_vencimiento->text(), FormatDate(QDate::currentDate()));
        QCOMPARE(volcado(t), antes);

        fechas(*w);
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"Abono = '300' Nuevo Saldo = '500'. Desea continuar?"});
        QCOMPARE(msgtest::calls().at(0).style, MsgStyle::Question);
        QCOMPARE(pagos(t, l, 10), (QStringList{"2=300", "1=200"}));
        QCOMPARE(teststore::scalarRaw(t, QString("SELECT fecha_abono FROM %1 WHERE codigo_fac = 10 AND num_abono = 2").arg(l.abonos))
                     .toString(),
                 QString("2026-03-15"));
        QCOMPARE(campo(t, l, 10, "abono"), QString("500"));
        QCOMPARE(campo(t, l, 10, "saldo"), QString("500"));
        QCOMPARE(campo(t, l, 10, "fecha_vencimiento"), QString("2026-04-15"));
        QCOMPARE(campo(t, l, 10, "Estado"), QString("Sin Cancelar"));
        // The invoice stays chosen, with its stored balance.
        QCOMPARE(w->txt[2]->text(), QString());
        QCOMPARE(w->txt[3]->text(), QString("500"));
        QCOMPARE(w->lvwFacturas->text(w->lvwFacturas->selectedIndex()), QString("10"));
        QCOMPARE(w->lvwAbonos->count(), 2);
        QCOMPARE(w->lvwAbonos->text(1), QString("2"));

        // The rest of the balance closes it.
        elegir(*w, "10");
        w->txt[2]->setText("500");
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), (QStringList{"Abono = '500' Nuevo Saldo = '0'. Desea continuar?",
                                                "La factura ha sido cancelada y será removida del listado de Facturas pendientes"}));
        QCOMPARE(msgtest::calls().at(1).style, MsgStyle::Information);
        QCOMPARE(campo(t, l, 10, "Estado"), QString("Cancelada"));
        QCOMPARE(campo(t, l, 10, "saldo"), QString("0"));
        QCOMPARE(campo(t, l, 10, "abono"), QString("1000"));
        QCOMPARE(pagos(t, l, 10), QStringList());
        QCOMPARE(pagos(t, l, 11), QStringList{"1=0"});
        QCOMPARE(w->lvwFacturas->count(), 1);
        QCOMPARE(w->lvwFacturas->text(1), QString("11"));
        QCOMPARE(w->lvwFacturas->selectedIndex(), 0);
        QCOMPARE(w->lvwAbonos->count(), 0);
        QCOMPARE(w->txt[0]->text(), QString());
        QCOMPARE(w->lcodigo_fac->text(), QString("Valor a abonar a la Factura"));
        QCOMPARE(w->lvwTerceros->count(), 1);  // until the window is opened again
    }

    void loElegidoEsLoMostrado_data() { lados(); }
    // Chosen with the mouse in the shown window: the row clicked is the
    // invoice chosen, and after every payment and every removal the lists
    // are what is stored, the invoice still open stays chosen (the next
    // payment needs no new click) and one paid off leaves nothing chosen.
    void loElegidoEsLoMostrado()
    {
        QFETCH(QString, lado);
        const Lado& l = LadoDe(lado);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, l, "7", "SIETE");
        tercero(t, l, "8", "OCHO");
        factura(t, l, 10, "7", 1000, 200, "2026-01-05");
        factura(t, l, 11, "7", 600, 100, "2026-02-01");
        factura(t, l, 12, "8", 500, 0, "2026-01-07");
        auto w = ventana(l);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        fechas(*w);
        // Store and window agree on the chosen invoice.
        auto alDia = [&](const QString& numero) {
            QCOMPARE(seleccionada(*w), numero);
            QCOMPARE(w->txt[0]->text(), numero);
            QCOMPARE(listados(*w), numero.isEmpty() ? QStringList() : pagos(t, l, numero.toInt()));
            QCOMPARE(w->txt[3]->text(), numero.isEmpty() ? QString() : campo(t, l, numero.toInt(), "saldo"));
        };

        clic(w->lvwTerceros, fila(w->lvwTerceros, "8"));
        clic(w->lvwTerceros, fila(w->lvwTerceros, "7"));
        QCOMPARE(w->tCodigo->text(), QString("7"));
        QCOMPARE(w->lvwFacturas->count(), 2);
        alDia("");  // listed, none chosen yet
        clic(w->lvwFacturas, fila(w->lvwFacturas, "10"));
        alDia("10");
        clic(w->lvwFacturas, fila(w->lvwFacturas, "11"));
        alDia("11");
        clic(w->lvwFacturas, fila(w->lvwFacturas, "10"));
        alDia("10");

        for (const char* valor : {"300", "100"}) {
            w->txt[2]->setText(valor);
            msgtest::clear();
            QTest::mouseClick(w->bAdicionarAbono, Qt::LeftButton);
            QCOMPARE(msgtest::texts().size(), 1);  // the question only
            alDia("10");
            QCOMPARE(w->txt[2]->text(), QString());
        }
        QCOMPARE(pagos(t, l, 10), (QStringList{"3=100", "2=300", "1=200"}));
        QTest::mouseClick(w->bEliminarAbono, Qt::LeftButton);
        QCOMPARE(pagos(t, l, 10), (QStringList{"2=300", "1=200"}));
        alDia("10");
        QCOMPARE(w->txt[3]->text(), QString("500"));

        // Paid off: no payment of it is stored, none listed, none chosen.
        w->txt[2]->setText("500");
        QTest::mouseClick(w->bAdicionarAbono, Qt::LeftButton);
        QCOMPARE(campo(t, l, 10, "Estado"), QString("Cancelada"));
        QCOMPARE(w->lvwFacturas->count(), 1);
        alDia("");
        QCOMPARE(w->lcodigo_fac->text(), QString("Valor a abonar a la Factura"));
        msgtest::clear();
        QTest::mouseClick(w->bEliminarAbono, Qt::LeftButton);
        QCOMPARE(msgtest::texts(), QStringList{"Seleccione la Factura"});
        // The row left is chosen by one click.
        clic(w->lvwFacturas, 1);
        alDia("11");

        // The party clicked again lists what is stored now.
        QCOMPARE(AbonarFactura(l.pagar ? TablasPorPagar() : TablasPorCobrar(), "11", 500, QDate(2026, 3, 1), QDate(2026, 3, 1)).estado,
                 EstadoAbono::Cancelada);
        msgtest::clear();
        clic(w->lvwTerceros, fila(w->lvwTerceros, "7"));
        QCOMPARE(msgtest::texts(), QStringList{"No existen facturas pendientes con el código relacionado"});
        QCOMPARE(w->lvwFacturas->count(), 0);
        alDia("");
    }

    void fechaQueFalta_data()
    {
        QTest::addColumn<QString>("abono");
        QTest::addColumn<QString>("vence");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("ambas") << ""
                               << ""
                               << "Ingrese una fecha válida en 'Fecha del Abono' y en 'Próxima Fecha de Vencimiento'";
        QTest::newRow("vencimiento") << "15/03/2026"
                                     << ""
                                     << "Ingrese una fecha válida en 'Próxima Fecha de Vencimiento'";
        QTest::newRow("abono") << "31/02/2026"
                               << "15/04/2026"
                               << "Ingrese una fecha válida en 'Fecha del Abono'";
    }
    // The date refused is named; both boxes then hold today for the second
    // click, and nothing is stored.
    void fechaQueFalta()
    {
        QFETCH(QString, abono);
        QFETCH(QString, vence);
        QFETCH(QString, mensaje);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 10, "7", 1000, 200);
        const QStringList antes = volcado(t);
        auto w = ventana(kCobrar);
        w->tCodigo->setText("7");
        elegir(*w, "10");
        fechas(*w, abono, vence);
        w->txt[2]->setText("100");
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{mensaje});
        QCOMPARE(msgtest::calls().at(0).style, MsgStyle::Exclamation);
        QCOMPARE(w->txt[4]->text(), FormatDate(QDate::currentDate()));
        QCOMPARE(w->txtFecha_vencimiento->text(), FormatDate(QDate::currentDate()));
        QCOMPARE(volcado(t), antes);
    }

    void cajasDelPrograma_data() { lados(); }
    // The invoice number and its balance are the window's: Tab passes them
    // by and typing into them changes nothing.
    void cajasDelPrograma()
    {
        QFETCH(QString, lado);
        const Lado& l = LadoDe(lado);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, l, "7", "SIETE");
        factura(t, l, 10, "7", 1000, 200);
        auto w = ventana(l);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(foco::ordenDeTab(w.get()),
                 (QStringList{w->tCodigo->objectName(), w->lvwTerceros->objectName(), "lvwFacturas", "lvwAbonos", "txt4",
                              "txtFecha_vencimiento", "txt2", "bAdicionarAbono", "bEliminarAbono", "bCerrar"}));
        w->tCodigo->setText("7");
        elegir(*w, "10");
        for (QLineEdit* caja : {w->txt[0], w->txt[3]}) {
            const QString antes = caja->text();
            QTest::keyClicks(caja, "99");
            QTest::keyClick(caja, Qt::Key_Backspace);
            QCOMPARE(caja->text(), antes);
        }
        QCOMPARE(w->txt[0]->text(), QString("10"));
        QCOMPARE(w->txt[3]->text(), QString("800"));
    }

    void rechazos_data()
    {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("letras") << "abc" << "Verifique el valor del abono";
        QTest::newRow("mezcla") << "12abc" << "Verifique el valor del abono";
        QTest::newRow("vacio") << "" << "Verifique el valor del abono";
        QTest::newRow("miles") << "1,000" << "Verifique el valor del abono";
        QTest::newRow("negativo") << "-5" << "El valor del abono debe ser mayor que cero";
        QTest::newRow("cero") << "0" << "El valor del abono debe ser mayor que cero";
        QTest::newRow("centavo") << "0.001" << "Verifique el valor del abono";
        QTest::newRow("tresDecimales") << "40.555" << "Verifique el valor del abono";
        QTest::newRow("coma") << "40,55" << "Verifique el valor del abono";
        QTest::newRow("exponente") << "1e2" << "Verifique el valor del abono";
        QTest::newRow("mayor") << "800.01" << "El valor del Abono no puede ser mayor al Saldo";
    }
    // Amounts that are no payment are refused before any question, and the
    // store stays as it was.
    void rechazos()
    {
        QFETCH(QString, valor);
        QFETCH(QString, mensaje);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 10, "7", 1000, 200);
        const QStringList antes = volcado(t);
        auto w = ventana(kCobrar);
        w->tCodigo->setText("7");
        elegir(*w, "10");
        fechas(*w);
        w->txt[2]->setText(valor);
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{mensaje});
        QCOMPARE(msgtest::calls().at(0).style, MsgStyle::Exclamation);
        QCOMPARE(volcado(t), antes);
        // The store refuses them too, whoever calls.
        if (Val(valor) <= 0.001)
            QCOMPARE(AbonarFactura(TablasPorCobrar(), "10", Val(valor), QDate(2026, 3, 1), QDate(2026, 3, 1)).estado,
                     EstadoAbono::ValorInvalido);
        QCOMPARE(AbonarFactura(TablasPorCobrar(), "10", 800.01, QDate(2026, 3, 1), QDate(2026, 3, 1)).estado,
                 EstadoAbono::SaldoInsuficiente);
        QCOMPARE(volcado(t), antes);
    }

    // Nothing chosen: the first two checks.
    void sinEleccion()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kPagar, "7", "SIETE");
        factura(t, kPagar, 10, "7", 1000, 200);
        auto w = ventana(kPagar);
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"Seleccione un Proveedor con facturas por Pagar"});
        w->tCodigo->setText("7");
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"Seleccione la factura a aplicar el abono"});
        msgtest::clear();
        w->bEliminarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"Seleccione la Factura"});
        QCOMPARE(msgtest::calls().at(0).style, MsgStyle::Information);
    }

    // Numbers go on from the highest; taking one back frees its number;
    // payment 1 never goes; other invoices' payments of the same number stay.
    void numeracionYDevolucion()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        segundaEmpresa(t);
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 20, "7", 1000, 100, "2026-01-05");
        pago(t, kCobrar, 20, 2, 50);
        teststore::execRaw(t, "UPDATE Ventas SET abono = 150, saldo = 850 WHERE codigo_fac = 20");
        factura(t, kCobrar, 21, "7", 400, 0, "2026-01-04");
        pago(t, kCobrar, 21, 2, 10);
        pago(t, kCobrar, 21, 3, 10);
        factura(t, kCobrar, 20, "7", 900, 0, "2026-01-05", "Sin Cancelar", 2);
        pago(t, kCobrar, 20, 2, 5, "2026-01-05", 2);
        pago(t, kCobrar, 20, 3, 5, "2026-01-05", 2);

        auto w = ventana(kCobrar);
        w->tCodigo->setText("7");
        elegir(*w, "20");
        QCOMPARE(w->lvwFacturas->count(), 2);  // the other company's 20 is not listed
        fechas(*w);
        w->txt[2]->setText("25");
        w->bAdicionarAbono->click();
        QCOMPARE(pagos(t, kCobrar, 20), (QStringList{"3=25", "2=50", "1=100"}));

        // The highest is selected after the reload: taken back by default.
        elegir(*w, "20");
        QCOMPARE(w->lvwAbonos->selectedIndex(), 1);
        msgtest::clear();
        w->bEliminarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"Si elimina el abono, el nuevo saldo será igual a '850'. Desea continuar?"});
        QCOMPARE(pagos(t, kCobrar, 20), (QStringList{"2=50", "1=100"}));
        QCOMPARE(pagos(t, kCobrar, 21), (QStringList{"3=10", "2=10", "1=0"}));
        QCOMPARE(pagos(t, kCobrar, 20, 2), (QStringList{"3=5", "2=5", "1=0"}));
        QCOMPARE(campo(t, kCobrar, 20, "abono"), QString("150"));
        QCOMPARE(campo(t, kCobrar, 20, "saldo"), QString("850"));
        QCOMPARE(w->txt[3]->text(), QString("850"));
        QCOMPARE(w->lvwFacturas->text(w->lvwFacturas->selectedIndex()), QString("20"));

        // Adding again gives 3 again.
        elegir(*w, "20");
        w->txt[2]->setText("30");
        w->bAdicionarAbono->click();
        QCOMPARE(pagos(t, kCobrar, 20), (QStringList{"3=30", "2=50", "1=100"}));
        QCOMPARE(campo(t, kCobrar, 20, "saldo"), QString("820"));

        // Answering No takes nothing back.
        elegir(*w, "20");
        const QStringList antes = volcado(t);
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        w->bEliminarAbono->click();
        QCOMPARE(volcado(t), antes);

        // Payment 1 is refused, also when it is selected by hand.
        msgtest::install();
        w->lvwAbonos->select(3);
        QCOMPARE(w->lvwAbonos->text(3), QString("1"));
        w->bEliminarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"No es posible eliminar el primer abono. Anule o elimine la Factura para realizar el "
                                               "procedimiento."});
        QCOMPARE(msgtest::calls().at(0).style, MsgStyle::Information);
        QCOMPARE(volcado(t), antes);
        QCOMPARE(QuitarAbonoFactura(TablasPorCobrar(), "20", 1, 100).estado, EstadoAbono::PrimerAbono);
        QCOMPARE(volcado(t), antes);
    }

    // The only payment is number 1: refused as well.
    void soloPrimerAbono()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kPagar, "7", "SIETE");
        factura(t, kPagar, 5, "7", 100, 0);
        const QStringList antes = volcado(t);
        auto w = ventana(kPagar);
        w->tCodigo->setText("7");
        elegir(*w, "5");
        QCOMPARE(w->lvwAbonos->count(), 1);
        msgtest::clear();
        w->bEliminarAbono->click();
        QCOMPARE(msgtest::texts(), QStringList{"No es posible eliminar el primer abono. Anule o elimine la Factura para realizar el "
                                               "procedimiento."});
        QCOMPARE(volcado(t), antes);
    }

    // The balance compares as zero once rounded to cents: 0.1 + 0.2 pays a
    // balance of 0.3; a cent left keeps the invoice open.
    void centavos()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 30, "7", 100.3, 100);
        factura(t, kCobrar, 31, "7", 100.3, 100);
        const QDate d(2026, 3, 1);
        ResultadoAbono r = AbonarFactura(TablasPorCobrar(), "30", 0.1, d, d);
        QCOMPARE(r.estado, EstadoAbono::Hecho);
        QCOMPARE(r.num_abono, qint16(2));
        QCOMPARE(campo(t, kCobrar, 30, "saldo"), QString("0.2"));
        r = AbonarFactura(TablasPorCobrar(), "30", 0.2, d, d);
        QCOMPARE(r.estado, EstadoAbono::Cancelada);
        QCOMPARE(campo(t, kCobrar, 30, "saldo"), QString("0"));
        QCOMPARE(campo(t, kCobrar, 30, "Estado"), QString("Cancelada"));
        QCOMPARE(pagos(t, kCobrar, 30), QStringList());

        r = AbonarFactura(TablasPorCobrar(), "31", 0.29, d, d);
        QCOMPARE(r.estado, EstadoAbono::Hecho);
        QCOMPARE(campo(t, kCobrar, 31, "saldo"), QString("0.01"));
        QCOMPARE(campo(t, kCobrar, 31, "Estado"), QString("Sin Cancelar"));
        // Taking 0.29 back gives exactly the balance before.
        r = QuitarAbonoFactura(TablasPorCobrar(), "31", 2, 0.29);
        QCOMPARE(r.estado, EstadoAbono::Hecho);
        QCOMPARE(campo(t, kCobrar, 31, "saldo"), QString("0.3"));
        QCOMPARE(campo(t, kCobrar, 31, "abono"), QString("100"));
    }

    // What another workstation changed after the window listed the
    // invoice is read again under lock: an annulled invoice takes no
    // payment, a smaller balance refuses the amount, a payment already
    // taken back is not taken again.
    void cambiosDeOtroPuesto()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 10, "7", 1000, 200);
        factura(t, kCobrar, 11, "7", 1000, 200, "2026-01-04");
        pago(t, kCobrar, 11, 2, 100);
        teststore::execRaw(t, "UPDATE Ventas SET abono = 300, saldo = 700 WHERE codigo_fac = 11");
        auto w = ventana(kCobrar);
        w->tCodigo->setText("7");
        fechas(*w);

        elegir(*w, "10");
        teststore::execRaw(t, "UPDATE Ventas SET Estado = 'Anulada' WHERE codigo_fac = 10");
        QStringList antes = volcado(t);
        w->txt[2]->setText("100");
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts().last(), QString("La factura 10 está anulada y no admite abonos"));
        QCOMPARE(volcado(t), antes);
        QCOMPARE(w->lvwFacturas->count(), 1);  // reloaded: the annulled one is gone

        elegir(*w, "11");
        QCOMPARE(w->txt[3]->text(), QString("700"));
        pago(t, kCobrar, 11, 3, 650);
        teststore::execRaw(t, "UPDATE Ventas SET abono = 950, saldo = 50 WHERE codigo_fac = 11");
        antes = volcado(t);
        w->txt[2]->setText("300");
        msgtest::clear();
        w->bAdicionarAbono->click();
        QCOMPARE(msgtest::texts().last(), QString("El valor del Abono no puede ser mayor al Saldo"));
        QCOMPARE(volcado(t), antes);

        // Payment 3 listed, then taken back elsewhere.
        elegir(*w, "11");
        QCOMPARE(w->lvwAbonos->text(1), QString("3"));
        teststore::execRaw(t, "DELETE FROM Fact_xCobrar WHERE codigo_fac = 11 AND num_abono = 3");
        teststore::execRaw(t, "UPDATE Ventas SET abono = 300, saldo = 700 WHERE codigo_fac = 11");
        antes = volcado(t);
        msgtest::clear();
        w->bEliminarAbono->click();
        QCOMPARE(msgtest::texts().last(), QString("El abono 3 de la factura 11 ya no existe"));
        QCOMPARE(volcado(t), antes);

        // Annulled and cancelled invoices take nothing, whoever calls.
        const QDate d(2026, 3, 1);
        QCOMPARE(AbonarFactura(TablasPorCobrar(), "10", 1, d, d).estado, EstadoAbono::Anulada);
        QCOMPARE(QuitarAbonoFactura(TablasPorCobrar(), "10", 2, 1).estado, EstadoAbono::Anulada);
        QCOMPARE(volcado(t), antes);
        teststore::execRaw(t, "UPDATE Ventas SET Estado = 'Cancelada' WHERE codigo_fac = 11");
        antes = volcado(t);
        QCOMPARE(AbonarFactura(TablasPorCobrar(), "11", 1, d, d).estado, EstadoAbono::YaCancelada);
        QCOMPARE(QuitarAbonoFactura(TablasPorCobrar(), "11", 2, 100).estado, EstadoAbono::YaCancelada);
        QCOMPARE(AbonarFactura(TablasPorCobrar(), "99", 1, d, d).estado, EstadoAbono::NoExiste);
        QCOMPARE(AbonarFactura(TablasPorCobrar(), "1 or 1=1", 1, d, d).estado, EstadoAbono::NoExiste);
        QCOMPARE(volcado(t), antes);
    }

    void fallos_data() { lados(); }
    // A failure at any write of a payment, added (partial or closing) or
    // taken back, leaves the store as it was and says so.
    void fallos()
    {
        QFETCH(QString, lado);
        const Lado& l = LadoDe(lado);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, l, "7", "SIETE");
        factura(t, l, 10, "7", 1000, 200);
        pago(t, l, 10, 2, 100);
        teststore::execRaw(t, QString("UPDATE %1 SET abono = 300, saldo = 700 WHERE codigo_fac = 10").arg(l.facturas));
        auto w = ventana(l);
        w->tCodigo->setText("7");
        const QString formulario = l.pagar ? "fFact_xPagar" : "fFact_xCobrar";

        struct Caso {
            const char* nombre;
            const char* boton;
            std::function<void()> hacer;
        };
        const QVector<Caso> casos = {
            {"parcial", "bAdicionarAbono", [&] {
                 elegir(*w, "10");
                 fechas(*w);
                 w->txt[2]->setText("50");
                 w->bAdicionarAbono->click();
             }},
            {"cierre", "bAdicionarAbono", [&] {
                 elegir(*w, "10");
                 fechas(*w);
                 w->txt[2]->setText("700");
                 w->bAdicionarAbono->click();
             }},
            {"devolucion", "bEliminarAbono", [&] {
                 elegir(*w, "10");
                 w->bEliminarAbono->click();
             }},
        };
        const QStringList antes = volcado(t);
        for (const Caso& c : casos) {
            // How many writes the change makes, then a failure at each.
            int escrituras = 0;
            {
                FalloEnEscritura contar(0);
                c.hacer();
                escrituras = contar.cuenta;
            }
            QVERIFY2(escrituras >= 2, c.nombre);
            QVERIFY2(volcado(t) != antes, c.nombre);
            // Back to the fixture for the failing runs.
            teststore::execRaw(t, "DELETE FROM " + l.abonos);
            teststore::execRaw(t, "DELETE FROM " + l.facturas);
            factura(t, l, 10, "7", 1000, 200);
            pago(t, l, 10, 2, 100);
            teststore::execRaw(t, QString("UPDATE %1 SET abono = 300, saldo = 700 WHERE codigo_fac = 10").arg(l.facturas));
            QCOMPARE(volcado(t), antes);
            w->cargarFacturas();
            for (int k = 1; k <= escrituras; ++k) {
                msgtest::clear();
                {
                    FalloEnEscritura fallo(k);
                    c.hacer();
                }
                QVERIFY2(volcado(t) == antes, qPrintable(QString("%1, write %2").arg(c.nombre).arg(k)));
                QVERIFY2(msgtest::texts().contains("Error inesperado N° 3000. fallo de escritura simulado"),
                         qPrintable(msgtest::texts().join(" | ")));
                QVERIFY(msgtest::texts().contains(QString("Error en el evento Click del comando %1 del formulario %2")
                                                      .arg(c.boton, formulario)));
                QVERIFY(!msgtest::texts().contains("La factura ha sido cancelada y será removida del listado de Facturas pendientes"));
            }
        }
    }

    // Typing a code: the first listed party it begins selects and lists the
    // invoices of the code as typed; a party without unpaid invoices says
    // so; another party forgets the chosen invoice.
    void codigoTecleado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "1", "UNO");
        tercero(t, kCobrar, "12", "DOCE");
        tercero(t, kCobrar, "13", "TRECE");
        factura(t, kCobrar, 1, "12", 100, 0, "2026-01-01");
        factura(t, kCobrar, 2, "13", 100, 0, "2026-01-02");
        factura(t, kCobrar, 3, "1", 100, 100, "2026-01-03", "Cancelada");
        auto w = ventana(kCobrar);
        QCOMPARE(w->lvwTerceros->count(), 2);
        w->tCodigo->setText("13");
        elegir(*w, "2");
        QCOMPARE(w->txt[0]->text(), QString("2"));

        msgtest::clear();
        w->tCodigo->setText("1");
        QCOMPARE(w->lvwTerceros->text(w->lvwTerceros->selectedIndex()), w->lvwTerceros->text(w->lvwTerceros->find("1")));
        QCOMPARE(msgtest::texts(), QStringList{"No existen facturas pendientes con el código relacionado"});
        QCOMPARE(w->lvwFacturas->count(), 0);
        QCOMPARE(w->txt[0]->text(), QString());
        QCOMPARE(w->lvwAbonos->count(), 0);

        // Matching no listed party changes nothing.
        w->tCodigo->setText("12");
        QCOMPARE(w->lvwFacturas->count(), 1);
        elegir(*w, "1");
        msgtest::clear();
        w->tCodigo->setText("9");
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(w->lvwFacturas->count(), 1);
        QCOMPARE(w->txt[0]->text(), QString("1"));
    }

    // The window's statements go by the index of unpaid invoices (the
    // parties with any; a party's own, newest first) however many invoices
    // the company has, and still do once the local file has the statistics
    // gathered as the program lets the store go.
    void pendientesPorSuIndice_data() { flujoCompleto_data(); }
    void pendientesPorSuIndice()
    {
        QFETCH(QString, lado);
        const Lado& l = LadoDe(lado);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        QStringList partes, facturas;
        for (int i = 0; i < 300; ++i)
            partes << QString("('P%1', 'PARTE %1')").arg(i);
        for (int i = 1; i <= 3000; ++i)
            facturas << QString("(%1, 'P%2', '2026-01-%3', %4, 1, '1')")
                            .arg(i)
                            .arg(i % 300)
                            .arg(1 + i % 28, 2, 10, QChar('0'))
                            .arg(i % 97 ? "'Cancelada'" : "'Sin Cancelar'");
        teststore::execRaw(t, QString("INSERT INTO %1 (codigo_%2, nombre_%2) VALUES ").arg(l.terceros, l.sufijo) + partes.join(','));
        teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, codigo_%2, fecha, Estado, codigo_emp, codigo_usu) VALUES ")
                                      .arg(l.facturas, l.sufijo)
                                  + facturas.join(','));
        auto w = ventana(l);
        const QString deudores = gSQL;
        w->tCodigo->setText("P97");
        QCOMPARE(w->lvwFacturas->count(), 1);
        const QString suyas = gSQL;
        const QString indice = l.facturas + "_pendientes";
        for (int vuelta = 1; vuelta <= 2; ++vuelta) {
            for (const QString& sql : {deudores, suyas}) {
                QStringList plan;
                for (const QVariantList& r :
                     teststore::queryRaw(t, (teststore::mariadb() ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + Conexion().translate(sql)))
                    for (const QVariant& v : r)
                        plan << v.toString();
                QVERIFY2(plan.join(' ').contains(indice, Qt::CaseInsensitive),
                         qPrintable(QString("%1, vuelta %2: %3").arg(sql).arg(vuelta).arg(plan.join(' '))));
            }
            // The program lets the store go; the next sign-in opens it.
            Conexion().Close();
            teststore::openOn(Conexion(), t);
            if (!teststore::mariadb())
                QVERIFY(teststore::scalarRaw(t, "SELECT count(*) FROM sqlite_stat1 WHERE tbl = '" + l.facturas + "'").toInt() > 0);
        }
    }

    // An empty company: the message and empty lists; another company's
    // invoices are not this one's.
    void sinPendientes()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        segundaEmpresa(t);
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 1, "7", 100, 0, "2026-01-01", "Sin Cancelar", 2);
        auto w = ventana(kCobrar);
        QCOMPARE(msgtest::texts(), QStringList{"No existen facturas pendientes"});
        QCOMPARE(w->lvwTerceros->count(), 0);
        QCOMPARE(w->lvwFacturas->count(), 0);
        // A row that lacks a column the list reads: the filler says so.
        msgtest::clear();
        verclientespendientes(w->lvwTerceros, "Select codigo_cli From CLIENTES");
        QCOMPARE(msgtest::texts().size(), 2);
        QCOMPARE(msgtest::texts().at(1), QString("falla en verclientespendientes"));
    }

    // The main window's items and the lists' account buttons open the
    // windows, the latter with the party's code.
    void abridores()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "7", "SIETE");
        tercero(t, kPagar, "8", "OCHO");
        factura(t, kCobrar, 1, "7", 100, 0);
        factura(t, kPagar, 2, "8", 100, 0);
        RegistrarMenusCuentas();
        QVERIFY(Abrir("cobrar"));
        QVERIFY(VentanaAbierta<fFact_xCobrar>());
        QVERIFY(Abrir("pagar"));
        QVERIFY(VentanaAbierta<fFact_xPagar>());
        delete VentanaAbierta<fFact_xCobrar>();
        delete VentanaAbierta<fFact_xPagar>();

        for (const auto* abrir : {&fAdmCli::abrirPorCobrar, &fAdmVentas::abrirPorCobrar}) {
            QVERIFY(*abrir);
            (*abrir)("7");
            fFact_xCobrar* w = VentanaAbierta<fFact_xCobrar>();
            QVERIFY(w);
            QVERIFY(w->isVisible());
            QCOMPARE(w->tCodigo_cli->text(), QString("7"));
            QCOMPARE(w->lvwFacturas->count(), 1);
            delete w;
        }
        for (const auto* abrir : {&fAdmProv::abrirPorPagar, &fAdmCompras::abrirPorPagar}) {
            QVERIFY(*abrir);
            (*abrir)("8");
            fFact_xPagar* w = VentanaAbierta<fFact_xPagar>();
            QVERIFY(w);
            QCOMPARE(w->tCodigo_prov->text(), QString("8"));
            QCOMPARE(w->lvwProveedores->count(), 1);
            QCOMPARE(w->lvwFacturas->count(), 1);
            delete w;
        }
        fAdmCli::abrirPorCobrar = {};
        fAdmProv::abrirPorPagar = {};
        fAdmVentas::abrirPorCobrar = {};
        fAdmCompras::abrirPorPagar = {};
    }

    // Two workstations paying the same invoices at once: no payment is
    // lost, numbers never repeat, and the small invoice closes at exactly
    // zero with every extra payment refused.
    void dosPuestosALaVez()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        tercero(t, kCobrar, "7", "SIETE");
        factura(t, kCobrar, 1, "7", 100000, 0);
        factura(t, kCobrar, 2, "7", 300, 0);
        const int veces = 25;
        int chica = 0;
        procesos::CorrerHijos(
            this, 2, "--abonos", t, [&](int) { return QStringList{QString::number(veces)}; }, 300000,
            [&](QProcess& p) {
                const QStringList n = QString::fromLatin1(p.readAllStandardOutput()).split(' ');
                QCOMPARE(n.value(0).trimmed().toInt(), veces);
                chica += n.value(1).trimmed().toInt();
            });
        if (QTest::currentTestFailed())
            return;
        const auto filas = teststore::queryRaw(t, "SELECT num_abono FROM Fact_xCobrar WHERE codigo_fac = 1");
        QCOMPARE(filas.size(), 2 * veces + 1);
        QSet<int> numeros;
        for (const auto& f : filas)
            numeros.insert(f[0].toInt());
        QCOMPARE(numeros.size(), 2 * veces + 1);
        QCOMPARE(campo(t, kCobrar, 1, "abono"), QString::number(20 * veces));
        QCOMPARE(campo(t, kCobrar, 1, "saldo"), QString::number(100000 - 20 * veces));
        QCOMPARE(chica, 30);
        QCOMPARE(campo(t, kCobrar, 2, "Estado"), QString("Cancelada"));
        QCOMPARE(campo(t, kCobrar, 2, "saldo"), QString("0"));
        QCOMPARE(campo(t, kCobrar, 2, "abono"), QString("300"));
        QCOMPARE(pagos(t, kCobrar, 2), QStringList());
    }
};

PROCESOS_MAIN(TstAbonos, "--abonos", Abonos)

#include "tst_abonos.moc"
