// TARVIK_STORE_TEST: the list filler and the list delete on both engines.
#include "ListView.h"
#include "StatusBar.h"
#include "TestStore.h"
#include "mSubRutinas.h"
#include "mVblesGlobales.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QtTest>

namespace {
const QString kEncontrados = QStringLiteral(" elemento(s) encontrado(s)");

void articulo(const teststore::Target& t, const QString& codigo, const QString& descripcion, const QString& precio)
{
    teststore::execRaw(t, QStringLiteral("INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, impuesto, "
                                         "precio_venta1, precio_venta2, precio_venta3, cantidad, stock_minimo, "
                                         "stock_maximo, tipo_art) VALUES ('%1', %2, 10, 16, %3, 19, 18, 5, 1, 50, 'FISICO')")
                              .arg(codigo, descripcion, precio));
}

QStringList fila(const ListView& l, int pos)
{
    QStringList r{l.text(pos)};
    for (int j = 1; j <= l.subItemCount(pos); ++j)
        r << l.subItem(pos, j);
    return r;
}
}  // namespace

class TstListas : public QObject {
    Q_OBJECT
    teststore::Target t_;
    ListView* lvw_ = nullptr;
    StatusBar* sb_ = nullptr;

private slots:
    void init()
    {
        msgtest::install();
        SetEndProgramHook([](int) { QFAIL("the program must not end"); });
        t_ = teststore::openFresh();
        if (QTest::currentTestFailed())
            return;
        articulo(t_, "A1", "'CEMENTO GRIS'", "20");
        articulo(t_, "A2", "NULL", "12.5");
        articulo(t_, "B3", "'VARILLA'", "1180");
        lvw_ = new ListView;
        sb_ = new StatusBar;
    }
    void cleanup()
    {
        delete lvw_;
        delete sb_;
        lvw_ = nullptr;
        sb_ = nullptr;
        msgtest::uninstall();
        SetEndProgramHook(nullptr);
    }

    void fillsRowsInStatementOrder()
    {
        LlenarListView("Select codigo_art, descripcion_art, precio_venta1 From ARTICULOS Order By codigo_art", lvw_, sb_);
        QCOMPARE(lvw_->count(), 3);
        QCOMPARE(fila(*lvw_, 1), QStringList({"A1", "CEMENTO GRIS", "20"}));
        QCOMPARE(fila(*lvw_, 2), QStringList({"A2", "", "12.5"}));  // Null shows as empty text
        QCOMPARE(fila(*lvw_, 3), QStringList({"B3", "VARILLA", "1180"}));
        QCOMPARE(sb_->text(), "3" + kEncontrados);
        QCOMPARE(lvw_->selectedIndex(), 1);
        QCOMPARE(gIndice, 4.0);
        QVERIFY(gRecordset->Eof());
        QVERIFY(msgtest::calls().isEmpty());
    }

    // The list shows the rows the result read, not a copy of them: a change
    // made through the result afterwards must not reach the list.
    void listKeepsWhatWasReadWhenTheResultChanges()
    {
        LlenarListView("Select codigo_art, descripcion_art From ARTICULOS Order By codigo_art", lvw_, sb_);
        const ado::RecordsetPtr rs = gRecordset;
        rs->MoveFirst();
        rs->Fields("descripcion_art").setValue(QString("CEMENTO BLANCO"));
        rs->Update();
        rs->MoveNext();
        rs->Delete();
        QCOMPARE(rs->RecordCount(), 2L);
        QCOMPARE(lvw_->count(), 3);
        QCOMPARE(fila(*lvw_, 1), QStringList({"A1", "CEMENTO GRIS"}));
        QCOMPARE(fila(*lvw_, 2), QStringList({"A2", ""}));
        LlenarListView("Select codigo_art, descripcion_art From ARTICULOS Order By codigo_art", lvw_, sb_);
        QCOMPARE(lvw_->count(), 2);
        QCOMPARE(fila(*lvw_, 1), QStringList({"A1", "CEMENTO BLANCO"}));
        QCOMPARE(fila(*lvw_, 2), QStringList({"B3", "VARILLA"}));
        QVERIFY(msgtest::calls().isEmpty());
    }

    void subItemsPerColumnCount_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<int>("subItems");
        QTest::newRow("one column") << "codigo_art" << 0;
        QTest::newRow("seven columns")
            << "codigo_art, descripcion_art, precio_compra, impuesto, precio_venta1, precio_venta2, cantidad" << 6;
        QTest::newRow("whole table") << "*" << 17;
    }
    void subItemsPerColumnCount()
    {
        QFETCH(QString, columns);
        QFETCH(int, subItems);
        LlenarListView("Select " + columns + " From ARTICULOS", lvw_, sb_);
        QCOMPARE(lvw_->count(), 3);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(lvw_->subItemCount(i), subItems);
    }

    void emptyResultClearsListAndCount()
    {
        LlenarListView("Select codigo_art From ARTICULOS", lvw_, sb_);
        QCOMPARE(lvw_->count(), 3);
        LlenarListView("Select codigo_art From ARTICULOS Where codigo_art = 'NADA'", lvw_, sb_);
        QCOMPARE(lvw_->count(), 0);
        QCOMPARE(sb_->text(), QString());  // never "0 elemento(s)"
        QCOMPARE(lvw_->selectedIndex(), 0);
    }

    void failedQueryLeavesListAsItWas()
    {
        LlenarListView("Select codigo_art, descripcion_art From ARTICULOS", lvw_, sb_);
        lvw_->select(2);
        LlenarListView("Select codigo_art From ARTICULOS Where", lvw_, sb_);
        QCOMPARE(msgtest::calls().size(), 1);  // the error check's message only
        QCOMPARE(lvw_->count(), 3);
        QCOMPARE(sb_->text(), "3" + kEncontrados);
        QCOMPARE(lvw_->selectedIndex(), 2);
    }

    void deleteRemovesRowAndItem()
    {
        LlenarListView("Select codigo_art From ARTICULOS Order By codigo_art", lvw_, sb_);
        EliminarDeListViewAdm(lvw_, 2, "Select * From ARTICULOS Where codigo_art = 'A2'");
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(lvw_->count(), 2);
        QCOMPARE(lvw_->text(1), QString("A1"));
        QCOMPARE(lvw_->text(2), QString("B3"));
        QCOMPARE(teststore::scalarRaw(t_, "SELECT COUNT(*) FROM ARTICULOS WHERE codigo_art = 'A2'").toInt(), 0);
        QCOMPARE(sb_->text(), "3" + kEncontrados);  // the count stays as it was
    }

    // Lists run past 32767 rows: the position must not wrap.
    void deleteBeyondSixteenBitRow()
    {
        QVector<QStringList> rows;
        for (int i = 1; i <= 40000; ++i)
            rows.append({QStringLiteral("R%1").arg(i)});
        rows.last() = {QStringLiteral("A2")};
        lvw_->setRows(std::move(rows));
        EliminarDeListViewAdm(lvw_, 40000, "Select * From ARTICULOS Where codigo_art = 'A2'");
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(lvw_->count(), 39999);
        QCOMPARE(lvw_->text(39999), QString("R39999"));
        QCOMPARE(teststore::scalarRaw(t_, "SELECT COUNT(*) FROM ARTICULOS WHERE codigo_art = 'A2'").toInt(), 0);
    }

    void deleteOfNoRowKeepsTheItem()
    {
        LlenarListView("Select codigo_art From ARTICULOS Order By codigo_art", lvw_, sb_);
        EliminarDeListViewAdm(lvw_, 1, "Select * From ARTICULOS Where codigo_art = 'NADA'");
        const QStringList shown = msgtest::texts();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].startsWith("Error inesperado N° "), qPrintable(shown[0]));
        QCOMPARE(shown[1], QString("Error en rutina EliminarDeListViewAdm en el módulo 'mSubRutinas'"));
        QCOMPARE(msgtest::calls()[1].style, MsgStyle::Plain);
        QCOMPARE(lvw_->count(), 3);
        QCOMPARE(teststore::scalarRaw(t_, "SELECT COUNT(*) FROM ARTICULOS").toInt(), 3);
    }

    // A statement the store refuses deletes nothing, so the item must stay.
    void failedOpenKeepsTheItem()
    {
        LlenarListView("Select codigo_art From ARTICULOS Order By codigo_art", lvw_, sb_);
        EliminarDeListViewAdm(lvw_, 1, "Select * From ARTICULOS Where codigo_art = 'A1' And");
        QCOMPARE(msgtest::calls().size(), 1);
        QVERIFY(msgtest::texts()[0].startsWith("Error inesperado N° "));
        QCOMPARE(lvw_->count(), 3);
        QCOMPARE(lvw_->text(1), QString("A1"));
        QCOMPARE(teststore::scalarRaw(t_, "SELECT COUNT(*) FROM ARTICULOS WHERE codigo_art = 'A1'").toInt(), 1);
    }
};

QTEST_MAIN(TstListas)
#include "tst_listas.moc"
