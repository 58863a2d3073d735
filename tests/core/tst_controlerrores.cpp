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
        QTest::newRow("related") << long(ado::err::Related) << "No es posible eliminar el registro debido a que está relacionado"
                                 << int(MsgStyle::Exclamation) << false << false;
        QTest::newRow("duplicate")
            << long(ado::err::Duplicate)
            << "Error No: 3022 Código o Descripción no pueden ser duplicados, inserte otros datos e intentelo de nuevo o verifique si otro usuario esta accediendo al registro"
            << int(MsgStyle::Exclamation) << false << false;
        QTest::newRow("memory") << long(ado::err::NoMemory)
                                << "Error No: 7 Memoria insuficiente. Libere memoria cerrando las demás aplicaciones e inténtelo de nuevo"
                                << int(MsgStyle::Critical) << false << false;
        QTest::newRow("missing table")
            << long(ado::err::NoTable) << "Error No: 3078. descripcion. Hacer cambios en la base de datos puede dar como resultado fallos irreparables en el programa"
            << int(MsgStyle::Critical) << false << true;
        QTest::newRow("missing file")
            << long(ado::err::MissingFile) << "Error No: 3024. descripcion. Hacer cambios en los archivos del software puede dar como resultado fallos irreparables en el programa"
            << int(MsgStyle::Critical) << false << true;
        QTest::newRow("no component")
            << long(ado::err::NoDriver)
            << "Error No. 429. descripcion. Es posible que la instalación o desinstalación de otra aplicación haya afectado el sistema. Para corregir el problema instale -mdac_typ- (Microsoft Data Access Components)."
            << int(MsgStyle::Exclamation) << false << true;
        QTest::newRow("other") << 1064L << "Error inesperado N° 1064. descripcion" << int(MsgStyle::Critical) << false << false;
        QTest::newRow("negative") << long(ado::err::OpenFailed) << "Error inesperado N° -2147467259. descripcion" << int(MsgStyle::Critical) << false << false;
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

    // Failures met in ordinary work: a Spanish message that keeps the
    // engine's number, whatever its English description said.
    void faults_data()
    {
        QTest::addColumn<long>("number");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        const int ex = int(MsgStyle::Exclamation), cr = int(MsgStyle::Critical);
        QTest::newRow("lost") << long(ado::err::ServerGone) << int(ado::Fault::ConnectionLost)
                              << "Error No: 2006. Se perdió la conexión con el servidor de la base de datos y el trabajo no se guardó. "
                                 "Verifique que el servidor esté en marcha e inténtelo de nuevo"
                              << ex;
        QTest::newRow("lock wait") << 1205L << int(ado::Fault::Busy)
                                   << "Error No: 1205. La base de datos está ocupada por otra estación de trabajo y el trabajo no se "
                                      "guardó. Espere unos momentos e inténtelo de nuevo"
                                   << ex;
        // What is left after the unit ran again and lost every time.
        QTest::newRow("deadlock") << 1213L << int(ado::Fault::Busy)
                                  << "Error No: 1213. Otra estación de trabajo está usando los mismos datos en este momento y el "
                                     "trabajo no se guardó. Presione de nuevo para repetirlo"
                                  << ex;
        QTest::newRow("disk full") << 13L << int(ado::Fault::DiskFull)
                                   << "Error No: 13. El disco de la base de datos está lleno y el trabajo no se guardó. Libere espacio "
                                      "en el disco e inténtelo de nuevo"
                                   << cr;
        QTest::newRow("read-only") << long(ado::err::ReadOnlyFile) << int(ado::Fault::ReadOnly)
                                   << "Error No: 8. La base de datos es de solo lectura y no se puede guardar en ella ningún trabajo. "
                                      "Revise los permisos del archivo y de su carpeta, o los del usuario del servidor"
                                   << cr;
        QTest::newRow("related row missing")
            << 1452L << int(ado::Fault::MissingRelated)
            << "Error No: 1452. El registro se refiere a otro que ya no existe (un cliente, un proveedor, un artículo, una empresa o "
               "una factura) y el trabajo no se guardó"
            << ex;
        QTest::newRow("too long") << long(ado::err::TooLong) << int(ado::Fault::TooLong)
                                  << "Error No: 3163. Un texto es más largo de lo que admite su campo y el trabajo no se guardó. "
                                     "Acórtelo e inténtelo de nuevo"
                                  << ex;
        QTest::newRow("no connection")
            << 2003L << int(ado::Fault::Unreachable)
            << "Error No: 2003. No se pudo conectar con el servidor de la base de datos. Verifique que el servidor esté en "
               "marcha y que esta estación llegue a él por la red, e inténtelo de nuevo"
            << ex;
        QTest::newRow("no answer") << 2013L << int(ado::Fault::NoAnswer)
                                   << "Error No: 2013. El servidor de la base de datos no respondió a tiempo y el trabajo no se "
                                      "guardó. Verifique que el servidor esté en marcha y que esta estación llegue a él por la "
                                      "red, e inténtelo de nuevo"
                                   << ex;
        QTest::newRow("commit unanswered")
            << 2013L << int(ado::Fault::Unconfirmed)
            << "Error No: 2013. El servidor de la base de datos no confirmó que guardara el trabajo, y no se sabe si quedó "
               "guardado. Cuando el servidor vuelva a responder, busque el trabajo (la factura en su lista, por ejemplo) antes "
               "de repetirlo, para no guardarlo dos veces"
            << ex;
        // The numbers the check has always known keep their own messages.
        QTest::newRow("known number first") << long(ado::err::Duplicate) << int(ado::Fault::Busy)
                                            << "Error No: 3022 Código o Descripción no pueden ser duplicados, inserte otros datos e "
                                               "intentelo de nuevo o verifique si otro usuario esta accediendo al registro"
                                            << ex;
    }
    void faults()
    {
        QFETCH(long, number);
        QFETCH(int, fault);
        QFETCH(QString, message);
        QFETCH(int, style);
        Err.Set(number, "database is locked", ado::Fault(fault));
        QVERIFY(!ControlErrores());
        QCOMPARE(msgtest::texts(), QStringList{message});
        QCOMPARE(int(msgtest::calls()[0].style), style);
        QCOMPARE(ends_, 0);
        QCOMPARE(Err.Fault, ado::Fault::None);
    }
};

QTEST_GUILESS_MAIN(TstControlErrores)
#include "tst_controlerrores.moc"
