// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// Removal of invoices by a range of numbers.
#include "Administracion.h"
#include "adodb.h"
#include "fRetiroRegistros.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kPregunta =
    "Esta operación es irreversible, se recomienda realizar copia de seguridad. Si continua, las Facturas eliminadas no podrán ser "
    "recuperadas. Está seguro?";
const QString kHecho = "Se han eliminado todas las Facturas seleccionadas";

// Sales and purchases 1 to 6 of company 1 and 1 to 6 of company 2, in every
// state, each with a line and a payment.
void facturas(const teststore::Target& t)
{
    adm::empresa(t, 2, "NORTE");
    adm::usuario(t, 2, "1", "PEDRO");
    const char* estados[3] = {"Sin Cancelar", "Cancelada", "Anulada"};
    for (int emp : {1, 2})
        for (int n = 1; n <= 6; ++n)
            for (bool ventas : {true, false})
                adm::factura(t, ventas, emp, n, "1", estados[n % 3]);
}

QString numeros(const teststore::Target& t, const QString& tabla, int emp)
{
    QStringList s;
    for (const auto& r : teststore::queryRaw(t, QString("SELECT codigo_fac FROM %1 WHERE codigo_emp = %2 ORDER BY codigo_fac").arg(tabla).arg(emp)))
        s << r[0].toString();
    return s.join(",");
}

void llenar(fRetiroRegistros& w, const QString& desde, const QString& hasta, const QString& empresa)
{
    w.tEliminarFactura[0]->setText(desde);
    w.tEliminarFactura[1]->setText(hasta);
    w.tEliminarFactura[2]->setText(empresa);
    for (int i = 0; i < 3; ++i)
        w.tEliminarFactura_LostFocus(i);
}

}  // namespace

class TstRetiro : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        ado::Connection::setWriteHook({});
        msgtest::uninstall();
        ReiniciarVariablesGlobales();
    }

    // Inside the range of that company only, both ends included, every
    // state, with lines and payments; the other kind and the other company
    // stay.
    void rango_data()
    {
        QTest::addColumn<int>("boton");
        QTest::addColumn<QString>("desde");
        QTest::addColumn<QString>("hasta");
        QTest::addColumn<QString>("empresa");
        QTest::addColumn<QString>("ventas1");
        QTest::addColumn<QString>("compras1");
        QTest::addColumn<QString>("ventas2");
        QTest::newRow("compras 2 a 4") << 0 << "2" << "4" << "1" << "1,2,3,4,5,6" << "1,5,6" << "1,2,3,4,5,6";
        QTest::newRow("ventas 2 a 4") << 1 << "2" << "4" << "1" << "1,5,6" << "1,2,3,4,5,6" << "1,2,3,4,5,6";
        QTest::newRow("otra empresa") << 1 << "1" << "6" << "2" << "1,2,3,4,5,6" << "1,2,3,4,5,6" << "";
        QTest::newRow("una sola") << 1 << "6" << "6" << "1" << "1,2,3,4,5" << "1,2,3,4,5,6" << "1,2,3,4,5,6";
        QTest::newRow("fuera del rango") << 1 << "7" << "90" << "1" << "1,2,3,4,5,6" << "1,2,3,4,5,6" << "1,2,3,4,5,6";
        QTest::newRow("al revés") << 1 << "4" << "2" << "1" << "1,2,3,4,5,6" << "1,2,3,4,5,6" << "1,2,3,4,5,6";
    }
    void rango()
    {
        QFETCH(int, boton);
        QFETCH(QString, desde);
        QFETCH(QString, hasta);
        QFETCH(QString, empresa);
        QFETCH(QString, ventas1);
        QFETCH(QString, compras1);
        QFETCH(QString, ventas2);
        TESTSTORE_OPEN_FRESH(t);
        facturas(t);
        adm::sesion();
        adm::responder();
        fRetiroRegistros w;
        w.Form_Load();
        llenar(w, desde, hasta, empresa);
        QVERIFY(w.bEliminarFactura[boton]->isEnabled());
        w.bEliminarFactura[boton]->click();
        QCOMPARE(adm::mensajes(), (QStringList{kPregunta, kHecho}));
        QCOMPARE(msgtest::calls()[1].style, MsgStyle::QuestionNoDefault);
        QCOMPARE(msgtest::calls()[2].style, MsgStyle::Information);
        QCOMPARE(numeros(t, "Ventas", 1), ventas1);
        QCOMPARE(numeros(t, "Compras", 1), compras1);
        QCOMPARE(numeros(t, "Ventas", 2), ventas2);
        QCOMPARE(numeros(t, "Compras", 2), QString("1,2,3,4,5,6"));
        // Lines and payments went with their invoices, and only those.
        QCOMPARE(numeros(t, "Detalles_FacVen", 1), ventas1);
        QCOMPARE(numeros(t, "Fact_xCobrar", 1), ventas1);
        QCOMPARE(numeros(t, "Detalles_FacCom", 1), compras1);
        QCOMPARE(numeros(t, "Fact_xPagar", 1), compras1);
        QCOMPARE(numeros(t, "Detalles_FacVen", 2), ventas2);
        QCOMPARE(numeros(t, "Fact_xCobrar", 2), ventas2);
        QCOMPARE(Conexion().transactionDepth(), 0);
    }

    // The gate, the question and the boxes each stop the removal before
    // anything goes.
    void rechazos_data()
    {
        QTest::addColumn<int>("nivel");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<QString>("hasta");
        QTest::addColumn<QStringList>("mensajes");
        QTest::newRow("asistente") << 1 << "1234" << int(MsgResult::Yes) << "6"
                                   << QStringList{"No tiene los privilegios para ejecurtar la acción"};
        QTest::newRow("clave mala") << 0 << "12345" << int(MsgResult::Yes) << "6" << QStringList{"Clave incorrecta"};
        QTest::newRow("no") << 0 << "1234" << int(MsgResult::No) << "6" << QStringList{kPregunta};
        QTest::newRow("caja vacía") << 0 << "1234" << int(MsgResult::Yes) << "" << QStringList{kPregunta, "digite un código válido"};
        QTest::newRow("caja con texto")
            << 0 << "1234" << int(MsgResult::Yes) << "6 Or 1=1" << QStringList{kPregunta, "digite un código válido"};
        QTest::newRow("decimal") << 0 << "1234" << int(MsgResult::Yes) << "6.5" << QStringList{kPregunta, "digite un código válido"};
    }
    void rechazos()
    {
        QFETCH(int, nivel);
        QFETCH(QString, clave);
        QFETCH(int, respuesta);
        QFETCH(QString, hasta);
        QFETCH(QStringList, mensajes);
        TESTSTORE_OPEN_FRESH(t);
        facturas(t);
        adm::sesion(nivel);
        adm::responder(MsgResult(respuesta), clave);
        fRetiroRegistros w;
        w.Form_Load();
        llenar(w, "1", "6", "1");
        w.tEliminarFactura[1]->setText(hasta);
        w.bEliminarFactura[1]->click();
        QCOMPARE(adm::mensajes(), mensajes);
        QCOMPARE(adm::facturas(t, true, 1), QString("6/6/6"));
    }

    // A failure while removing leaves every header, line and payment.
    void fallo()
    {
        TESTSTORE_OPEN_FRESH(t);
        facturas(t);
        adm::sesion();
        adm::responder();
        ado::Connection::setWriteHook([](const QString& sql) {
            if (sql.startsWith("DELETE", Qt::CaseInsensitive))
                throw ado::Error{3000, "disco lleno"};
        });
        fRetiroRegistros w;
        w.Form_Load();
        llenar(w, "1", "6", "1");
        w.bEliminarFactura[1]->click();
        QCOMPARE(adm::mensajes(), (QStringList{kPregunta, "Error inesperado N° 3000. disco lleno"}));
        QCOMPARE(adm::facturas(t, true, 1), QString("6/6/6"));
        QCOMPARE(Conexion().transactionDepth(), 0);
        ado::Connection::setWriteHook({});

        // The connection is usable again afterwards.
        w.bEliminarFactura[0]->click();
        QCOMPARE(adm::mensajes().last(), kHecho);
        QCOMPARE(adm::facturas(t, false, 1), QString("0/0/0"));
        QCOMPARE(adm::facturas(t, true, 1), QString("6/6/6"));
    }

    // Leaving a box: a number enables both buttons for good; anything else
    // is told and changes nothing. Enter presses Cerrar.
    void cajas()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::sesion();
        adm::responder();
        fRetiroRegistros w;
        w.Form_Load();
        QCOMPARE(w.lEmpresaActual->text(), QString("Empresa Actual : EMPRESA PRINCIPAL"));
        QVERIFY(!w.bEliminarFactura[0]->isEnabled() && !w.bEliminarFactura[1]->isEnabled());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.tEliminarFactura[2]->setFocus();
        QTest::keyClick(&w, Qt::Key_Tab);  // leaves the empty company box
        QCOMPARE(adm::mensajes(), QStringList{"digite un código válido"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Plain);
        QVERIFY(!w.bEliminarFactura[0]->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w.tEliminarFactura[0]);  // company, from, to
        QTest::keyClicks(w.tEliminarFactura[0], "12");
        w.tEliminarFactura[1]->setFocus(Qt::MouseFocusReason);  // a click on the next box
        QVERIFY(w.bEliminarFactura[0]->isEnabled() && w.bEliminarFactura[1]->isEnabled());
        w.tEliminarFactura[1]->setText("x");
        w.tEliminarFactura_LostFocus(1);
        QVERIFY(w.bEliminarFactura[1]->isEnabled());  // nothing disables them again
        QCOMPARE(adm::mensajes().size(), 2);
        w.tEliminarFactura[1]->setFocus();
        QTest::keyClick(w.tEliminarFactura[1], Qt::Key_Return);
        QVERIFY(!w.isVisible());
        QCOMPARE(adm::mensajes().size(), 2);  // closing is no leaving of the box
    }
};

QTEST_MAIN(TstRetiro)
#include "tst_retiro.moc"
