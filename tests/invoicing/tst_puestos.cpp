// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
//
// Several workstations selling, buying and taking payments on one company
// at once, as clerks at the windows (not shown).
#include "Facturacion.h"
#include "ListView.h"
#include "fCompras.h"
#include "fFact_xCobrar.h"
#include "fFact_xPagar.h"
#include "mFuncionesCajas.h"
#include "mNumeracionNCF.h"
#include "msgbox.h"

#include <QApplication>
#include <QSet>
#include <QtTest>
#include <cstdio>
#include <memory>

using namespace fac;

namespace {

const int kPuestos = 8;
const int kOperaciones = 100;  // per workstation, five kinds in turn
const int kInicial = 100000;   // stock of the one article

// What a clerk may be asked or told while others work alongside; anything
// else is an error shown to a clerk.
bool Admitido(const QString& texto)
{
    for (const char* inicio : {"El número de factura ", "Otra estación de trabajo tomó lo propuesto",
                               "Es correcto el abono a la factura por $ ", "Abono = '"})
        if (texto.startsWith(QString::fromUtf8(inicio)))
            return true;
    return false;
}

// A child process: kOperaciones operations in turn: a cash sale, a credit
// sale (3.33 paid), a cash purchase, a payment of 1.11 on the shared sale,
// a payment of 2.22 on the shared purchase; sales take the range's NCF.
int Puesto(const QStringList& args)
{
    const teststore::Target t = procesos::DestinoDeArgumentos(args);
    abrirPuesto(t);
    auto cobrar = std::make_unique<fFact_xCobrar>();
    auto pagar = std::make_unique<fFact_xPagar>();
    for (int i = 0; i < kOperaciones; ++i) {
        bool hecho = false;
        switch (i % 5) {
        case 0:
        case 1:
            hecho = ventaDePuesto(i % 5 == 1)->bAplicar_Click();
            break;
        case 2:
            hecho = compraDePuesto()->bAplicar_Click();
            break;
        case 3:
            hecho = Abonar(*cobrar, "1.11");
            break;
        case 4:
            hecho = Abonar(*pagar, "2.22");
            break;
        }
        if (!hecho) {
            fprintf(stderr, "operación %d: %s\n", i, qPrintable(msgtest::texts().join(" | ")));
            return 3;
        }
    }
    for (const QString& texto : msgtest::texts())
        if (!Admitido(texto)) {
            fprintf(stderr, "mensaje: %s\n", qPrintable(texto));
            return 4;
        }
    return 0;
}

int Contar(const teststore::Target& t, const QString& sql) { return teststore::scalarRaw(t, sql).toInt(); }

}  // namespace

class TstPuestos : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        msgtest::uninstall();
        ReiniciarVariablesGlobales();
    }

    // Every operation stored once, no number or NCF twice, the stock what
    // the Kardex says, every balance exact, and no clerk shown an error.
    void ochoPuestos()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "C1", kInicial, 10, 10, 10, 0, 5);
        teststore::execRaw(t, "UPDATE ARTICULOS SET stock_maximo = 10000000");
        rango(t, "Consumidor final", "B01", 1, 100000, 0);
        Compartidas(t);
        procesos::CorrerHijos(this, kPuestos, "--puesto", t, [](int) { return QStringList{}; }, 600000);
        if (QTest::currentTestFailed())
            return;

        const int ventas = kPuestos * kOperaciones * 2 / 5, compras = kPuestos * kOperaciones / 5;
        const int abonos = kPuestos * kOperaciones / 5;
        QCOMPARE(Contar(t, "SELECT COUNT(*) FROM Ventas"), 1 + ventas);
        QCOMPARE(Contar(t, "SELECT COUNT(DISTINCT codigo_fac) FROM Ventas"), 1 + ventas);
        QCOMPARE(Contar(t, "SELECT COUNT(DISTINCT ncf) FROM Ventas WHERE ncf <> ''"), ventas);
        QCOMPARE(Contar(t, "SELECT consecutivo FROM ncfs"), ventas);
        QCOMPARE(teststore::scalarRaw(t, "SELECT MAX(ncf) FROM Ventas").toString(), TextoNCF("B01", ventas));
        QCOMPARE(Contar(t, "SELECT COUNT(*) FROM Compras"), 1 + compras);
        QCOMPARE(Contar(t, "SELECT COUNT(DISTINCT codigo_fac) FROM Compras"), 1 + compras);
        QCOMPARE(Contar(t, "SELECT consecutivo_venta FROM empresas"), Contar(t, "SELECT MAX(codigo_fac) FROM Ventas"));
        QCOMPARE(Contar(t, "SELECT consecutivo_compra FROM empresas"), Contar(t, "SELECT MAX(codigo_fac) FROM Compras"));
        QCOMPARE(filas(t, "Detalles_FacVen"), ventas);
        QCOMPARE(filas(t, "Detalles_FacCom"), compras);

        qint64 kardex = kInicial;
        for (const teststore::Row& r : teststore::rowsRaw(t, "SELECT unidades_entrantes, unidades_salientes FROM Kardex"))
            kardex += r["unidades_entrantes"].toLongLong() - r["unidades_salientes"].toLongLong();
        QCOMPARE(filas(t, "Kardex"), ventas + compras);
        QCOMPARE(stock(t, "C1"), kInicial - ventas + compras);
        QCOMPARE(qint64(stock(t, "C1")), kardex);

        // Payments: numbered 1 to n on the shared invoices, none lost.
        for (const char* tabla : {"Fact_xCobrar", "Fact_xPagar"}) {
            QSet<int> numeros;
            for (const QVariantList& r : teststore::queryRaw(t, QString("SELECT num_abono FROM %1 WHERE codigo_fac = 1").arg(tabla)))
                numeros.insert(r[0].toInt());
            QCOMPARE(numeros.size(), 1 + abonos);
            QVERIFY(numeros.contains(1 + abonos));
        }
        QCOMPARE(centavos(teststore::scalarRaw(t, "SELECT abono FROM Ventas WHERE codigo_fac = 1")), qint64(abonos) * 111);
        QCOMPARE(centavos(teststore::scalarRaw(t, "SELECT abono FROM Compras WHERE codigo_fac = 1")), qint64(abonos) * 222);
        cuadran(t, "Ventas", "Fact_xCobrar");
        cuadran(t, "Compras", "Fact_xPagar");
    }
};

PROCESOS_MAIN(TstPuestos, "--puesto", Puesto)

#include "tst_puestos.moc"
