#include "mFunciones.h"
#include "msgbox.h"

#include <QtTest>

class TstControlErrores : public QObject {
    Q_OBJECT
    int ends_ = 0;
private slots:
    void init()
    {
        ends_ = 0;
        msgtest::install();
        SetEndProgramHook([this](int) { ++ends_; });
    }
    void cleanup()
    {
        msgtest::uninstall();
        SetEndProgramHook(nullptr);
        Err.Clear();
    }

    void table_data()
    {
        QTest::addColumn<long>("number");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("ends");
        const QString d = "descripcion";
        QTest::newRow("none") << 0L << QString() << -1 << true << false;
        QTest::newRow("related") << 3200L << "No es posible eliminar el registro debido a que está relacionado"
                                 << int(MsgStyle::Exclamation) << false << false;
        QTest::newRow("duplicate")
            << 3022L
            << "Error No: 3022 Código o Descripción no pueden ser duplicados, inserte otros datos e intentelo de nuevo o verifique si otro usuario esta accediendo al registro"
            << int(MsgStyle::Exclamation) << false << false;
        QTest::newRow("memory") << 7L
                                << "Error No: 7 Memoria insuficiente. Libere memoria cerrando las demás aplicaciones e inténtelo de nuevo"
                                << int(MsgStyle::Critical) << false << false;
        QTest::newRow("missing table")
            << 3078L << "Error No: 3078. descripcion. Hacer cambios en la base de datos puede dar como resultado fallos irreparables en el programa"
            << int(MsgStyle::Critical) << false << true;
        QTest::newRow("missing file")
            << 3024L << "Error No: 3024. descripcion. Hacer cambios en los archivos del software puede dar como resultado fallos irreparables en el programa"
            << int(MsgStyle::Critical) << false << true;
        QTest::newRow("no component")
            << 429L
            << "Error No. 429. descripcion. Es posible que la instalación o desinstalación de otra aplicación haya afectado el sistema. Para corregir el problema instale -mdac_typ- (Microsoft Data Access Components)."
            << int(MsgStyle::Exclamation) << false << true;
        QTest::newRow("other") << 1064L << "Error inesperado N° 1064. descripcion" << int(MsgStyle::Critical) << false << false;
        QTest::newRow("negative") << -2147467259L << "Error inesperado N° -2147467259. descripcion" << int(MsgStyle::Critical) << false << false;
        Q_UNUSED(d);
    }
    void table()
    {
        QFETCH(long, number);
        QFETCH(QString, message);
        QFETCH(int, style);
        QFETCH(bool, result);
        QFETCH(bool, ends);
        Err.Set(number, "descripcion");
        QCOMPARE(ControlErrores(), result);
        if (message.isNull()) {
            QVERIFY(msgtest::calls().isEmpty());
        } else {
            QCOMPARE(msgtest::calls().size(), 1);  // shown once
            QCOMPARE(msgtest::calls()[0].text, message);
            QCOMPARE(int(msgtest::calls()[0].style), style);
            QCOMPARE(msgtest::calls()[0].title, AppTitle());
        }
        QCOMPARE(ends_, ends ? 1 : 0);
        // The error is consumed: a second check finds none.
        msgtest::clear();
        QVERIFY(ControlErrores());
        QVERIFY(msgtest::calls().isEmpty());
    }
};

QTEST_MAIN(TstControlErrores)
#include "tst_controlerrores.moc"
