// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Cuadros.h"
#include "Prueba.h"
#include "TestStore.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas_facturas.h"
#include "msgbox.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

namespace {

const QString kUpdateFailed = "Error en Update de la Función DatosActualizados en el módulo 'mFunciones'";

struct Boxes {
    std::vector<std::unique_ptr<QWidget>> owned;
    BoxArray txt;
    explicit Boxes(const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i) {
            QWidget* w;
            if (i == 10) {  // a multi-line box, as the notes are
                auto* e = new QPlainTextEdit(texts[i]);
                w = e;
            } else {
                w = new QLineEdit(texts[i]);
            }
            owned.emplace_back(w);
            txt << w;
        }
    }
};

QStringList article(const QString& code, const QString& cantidad = "10")
{
    return {code, "CAFE", "12.5", "18", "20", "19", "18.5", cantidad, "2", "50", "linea 1\nlinea 2", "05/01/2024",
            "", "", "", "", "", "FISICO"};
}

}  // namespace

class TstDatosActualizados : public Prueba {
    Q_OBJECT
private slots:
    void initTestCase() { InstalarCuadros(); }  // the real boxes and cursor
    void newRowThenEdit()
    {
        TESTSTORE_OPEN_FRESH(t);
        Boxes b(article("A1"));
        QVERIFY(DatosActualizados(b.txt, "Select * From ARTICULOS", 2));
        QVERIFY(msgtest::calls().isEmpty());
        // The added row stays current.
        QCOMPARE(gRecordset->Fields("codigo_art").Text(), QString("A1"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT observaciones_art FROM ARTICULOS").toString(), QString("linea 1\nlinea 2"));

        Boxes e(article("OTRO", "7"));
        QVERIFY(DatosActualizados(e.txt, "Select * From ARTICULOS Where codigo_art = 'A1'", 1));
        // Column 0 is never rewritten in mode 1.
        QCOMPARE(teststore::scalarRaw(t, "SELECT count(*) FROM ARTICULOS").toInt(), 1);
        QCOMPARE(teststore::scalarRaw(t, "SELECT cantidad FROM ARTICULOS WHERE codigo_art = 'A1'").toInt(), 7);
    }

    void modeZeroWritesNotesAndStateOnly()
    {
        TESTSTORE_OPEN_FRESH(t);
        teststore::execRaw(t, "INSERT INTO Ventas VALUES (5, '0', '2024-01-05', 'CONTADO', 100, 18, 0, 118, 0, 118, 'nota', "
                              "'Cancelada', '2024-01-05', 1, '1', '')");
        QStringList texts(16, "x");
        texts[10] = "ANULADA POR ERROR";
        texts[11] = "Anulada";
        Boxes b(texts);
        QVERIFY(DatosActualizados(b.txt, "Select * From Ventas Where codigo_fac = 5 and codigo_emp = 1", 0));
        const auto row = teststore::rowsRaw(t, "SELECT notas, Estado, forma_pago, total FROM Ventas WHERE codigo_fac = 5");
        QCOMPARE(row[0]["notas"].toString(), QString("ANULADA POR ERROR"));
        QCOMPARE(row[0]["Estado"].toString(), QString("Anulada"));
        QCOMPARE(row[0]["forma_pago"].toString(), QString("CONTADO"));
        QCOMPARE(row[0]["total"].toDouble(), 118.0);
    }

    // An idle window's mode (3) writes nothing, so it must not count as a
    // save.
    void otherModeSetsNothingAndFails()
    {
        TESTSTORE_OPEN_FRESH(t);
        Boxes b(article("A1"));
        QVERIFY(!DatosActualizados(b.txt, "Select * From ARTICULOS", 3));
        QCOMPARE(msgtest::texts(), QStringList{kUpdateFailed});
        QCOMPARE(teststore::scalarRaw(t, "SELECT count(*) FROM ARTICULOS").toInt(), 0);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("firstMessage");  // its beginning
        QTest::newRow("mode 1 without a row") << "Select * From ARTICULOS Where codigo_art = 'NADA'" << 1 << article("NADA")
                                              << "Error inesperado N° 3021";
        QTest::newRow("duplicate key") << "Select * From ARTICULOS" << 2 << article("A1") << "Error No: 3022 ";
        QTest::newRow("duplicate key other case") << "Select * From ARTICULOS" << 2 << article("a1") << "Error No: 3022 ";
        QTest::newRow("empty numeric box") << "Select * From ARTICULOS" << 2 << article("B1", "") << "Error inesperado N° 3421";
        QTest::newRow("too few boxes") << "Select * From ARTICULOS" << 2 << article("B1").mid(0, 12) << "Error inesperado N° 340";
    }
    void failures()
    {
        QFETCH(QString, source);
        QFETCH(int, mode);
        QFETCH(QStringList, boxes);
        QFETCH(QString, firstMessage);
        TESTSTORE_OPEN_FRESH(t);
        Boxes a1(article("A1"));
        QVERIFY(DatosActualizados(a1.txt, "Select * From ARTICULOS", 2));
        const auto before = teststore::queryRaw(t, "SELECT * FROM ARTICULOS ORDER BY codigo_art");
        Boxes b(boxes);
        QVERIFY(!DatosActualizados(b.txt, source, mode));
        const QStringList texts = msgtest::texts();
        QCOMPARE(texts.size(), 2);
        QVERIFY2(texts[0].startsWith(firstMessage), qPrintable(texts[0]));
        QCOMPARE(texts[1], kUpdateFailed);
        QCOMPARE(msgtest::calls()[1].style, MsgStyle::Plain);
        // Nothing of the row is stored.
        QCOMPARE(teststore::queryRaw(t, "SELECT * FROM ARTICULOS ORDER BY codigo_art"), before);
    }

    void failureInsideAUnitReleasesItsLocksBeforeTheMessage()
    {
        TESTSTORE_OPEN_FRESH(t);
        Boxes a1(article("A1"));
        QVERIFY(DatosActualizados(a1.txt, "Select * From ARTICULOS", 2));
        ado::Connection other;
        teststore::openOn(other, t);
        bool otherWrote = false;
        msgtest::install([&](const msgtest::Call&) {
            // Another workstation writes the same row while the clerk reads
            // the message.
            if (!otherWrote)
                otherWrote = Trap([&] {
                    ado::Recordset r;
                    r.Open("Update ARTICULOS Set cantidad = 99 Where codigo_art = 'A1'", other);
                });
            return MsgResult::Ok;
        });
        Conexion().BeginTrans();
        QVERIFY(AbrirRecordset("Update ARTICULOS Set cantidad = 5 Where codigo_art = 'A1'"));
        QVERIFY(!DatosActualizados(a1.txt, "Select * From ARTICULOS", 2));  // duplicate key
        QVERIFY(otherWrote);
        // The unit is doomed: nothing of it is stored, and its commit refuses.
        QVERIFY(!Trap([] { Conexion().CommitTrans(); }));
        Err.Clear();
        QCOMPARE(Conexion().transactionDepth(), 0);
        QCOMPARE(teststore::scalarRaw(t, "SELECT cantidad FROM ARTICULOS WHERE codigo_art = 'A1'").toInt(), 99);
    }

    void failedOpenShowsOneMessage()
    {
        TESTSTORE_OPEN_FRESH(t);
        Boxes b(article("A1"));
        QVERIFY(!DatosActualizados(b.txt, "Select * From ARTICULOS Where", 2));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY(msgtest::texts()[0].startsWith("Error inesperado N° "));
    }

    // A statement run for a clerk's action may wait on another
    // workstation's lock or a slow server: meanwhile the wait cursor shows,
    // and it goes when the work ends.
    void statementsRunUnderTheWaitCursor_data()
    {
        columnas<QString>("via");
        QTest::newRow("a statement") << "AbrirRecordset";
        QTest::newRow("a save") << "DatosActualizados";
        QTest::newRow("a unit of work") << "EnTransaccion";
    }
    void statementsRunUnderTheWaitCursor()
    {
        QFETCH(QString, via);
        TESTSTORE_OPEN_FRESH(t);
        QStringList seen;
        struct Hook {
            ~Hook() { ado::Connection::setWriteHook({}); }
        } hook;
        ado::Connection::setWriteHook([&](const QString&) {
            const QCursor* c = QApplication::overrideCursor();
            seen << (c && c->shape() == Qt::WaitCursor ? "wait" : "normal");
        });
        Boxes b(article("A1"));
        if (via == "AbrirRecordset")
            QVERIFY(AbrirRecordset("INSERT INTO ARTICULOS (codigo_art, cantidad) VALUES ('A1', 10)"));
        else if (via == "DatosActualizados")
            QVERIFY(DatosActualizados(b.txt, "Select * From ARTICULOS", 2));
        else
            QVERIFY(EnTransaccion([](ado::Connection& cn) {
                ado::Recordset rs;
                rs.Open("INSERT INTO ARTICULOS (codigo_art, cantidad) VALUES ('A1', 10)", cn);
                return true;
            }));
        QCOMPARE(seen, QStringList{"wait"});
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TstDatosActualizados)
#include "tst_datosactualizados.moc"
