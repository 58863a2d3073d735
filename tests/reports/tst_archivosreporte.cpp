// The report file, the page text and the money format, and the HTML view's
// commands, without a store.
#include "Dinero.h"
#include "AppPath.h"
#include "WebBrowser.h"
#include "adoerror.h"
#include "mReportes.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

class TstArchivosReporte : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void init() { SetAppPath(dir.path()); }
    void cleanup()
    {
        webtest::uninstall();
        SetAppPath(QString());
        QDir(dir.filePath("Reportes")).removeRecursively();
        QFile::remove(dir.filePath("Reportes"));
    }

    void html_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("pagina");
        QTest::newRow("marcas") << "A & B <i>\"x\"" << "A &amp; B &lt;i&gt;&quot;x&quot;";
        QTest::newRow("acentos") << QString::fromUtf8("Ñandú ó") << QString::fromUtf8("Ñandú ó");
        QTest::newRow("fuera del juego") << QString::fromUtf8("5 € — 😀") << "5 &#8364; &#8212; &#128512;";
        QTest::newRow("apostrofo") << "O'Brien" << "O'Brien";
    }
    void html()
    {
        QFETCH(QString, texto);
        QFETCH(QString, pagina);
        QCOMPARE(Html(texto), pagina);
        QCOMPARE(Html(texto).toLatin1().size(), Html(texto).size());  // one byte a character
    }

    void dinero_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<qint64>("centavos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("cero") << 0.0 << qint64(0) << "0.00";
        QTest::newRow("mil doscientos y medio") << 1200.5 << qint64(120050) << "1,200.50";
        QTest::newRow("medio centavo arriba") << 1.005 << qint64(101) << "1.01";
        QTest::newRow("un octavo") << 0.125 << qint64(13) << "0.13";
        QTest::newRow("negativo") << -16.0 << qint64(-1600) << "-16.00";
        QTest::newRow("medio negativo") << -0.025 << qint64(-3) << "-0.03";
        QTest::newRow("suma binaria") << 0.1 + 0.2 << qint64(30) << "0.30";
        QTest::newRow("millones") << 1234567.891 << qint64(123456789) << "1,234,567.89";
        QTest::newRow("casi medio centavo") << 2.675 << qint64(268) << "2.68";
        QTest::newRow("un centavo negativo") << -0.01 << qint64(-1) << "-0.01";
        QTest::newRow("menos de medio centavo negativo") << -0.004 << qint64(0) << "0.00";
        QTest::newRow("cientos de miles de millones") << 987654321098.76 << qint64(98765432109876) << "987,654,321,098.76";
        QTest::newRow("billones") << 5000000000000.5 << qint64(500000000000050) << "5,000,000,000,000.50";
    }
    void dinero()
    {
        QFETCH(double, valor);
        QFETCH(qint64, centavos);
        QFETCH(QString, texto);
        QCOMPARE(Dinero::De(valor).centavos(), centavos);
        QCOMPARE(Dinero::De(valor).Texto(), texto);
    }

    // Deleted and written anew on every run; the folder is made when
    // missing; a folder that cannot be made fails through the trap.
    void archivo()
    {
        QVERIFY(!QDir(dir.filePath("Reportes")).exists());
        {
            ArchivoReporte f("ReporteVentas.htm");
            QVERIFY(Trap([&] {
                f.Crear();
                f.Escribir(QString::fromUtf8("Artículo ") + Html(QString::fromUtf8("€")));
                f.Cerrar();
            }));
        }
        QFile r(dir.filePath("Reportes/ReporteVentas.htm"));
        QVERIFY(r.open(QIODevice::ReadOnly));
        QCOMPARE(r.readAll(), QByteArray("Art\xed" "culo &#8364;"));
        r.close();
        {
            ArchivoReporte f("ReporteVentas.htm");
            QVERIFY(Trap([&] {
                f.Crear();
                f.Escribir("x");
                f.Cerrar();
            }));
        }
        QVERIFY(r.open(QIODevice::ReadOnly));
        QCOMPARE(r.readAll(), QByteArray("x"));
        r.close();

        QDir(dir.filePath("Reportes")).removeRecursively();
        {
            QFile blocker(dir.filePath("Reportes"));  // a file where the folder should be
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        ArchivoReporte f("ReporteVentas.htm");
        Err.Clear();
        QVERIFY(!Trap([&] { f.Crear(); }));
        QCOMPARE(Err.Number, 75L);
        Err.Clear();
    }

    // A run that fails leaves the last good file whole and nothing beside
    // it: a write refused on the way (the disk full), an error between the
    // pieces, a body that gave up, or a file never closed.
    void falloConservaElAnterior_data()
    {
        QTest::addColumn<int>("como");
        QTest::newRow("escritura rechazada") << 0;
        QTest::newRow("error a medias") << 1;
        QTest::newRow("abandonado") << 2;
        QTest::newRow("sin cerrar") << 3;
    }
    void falloConservaElAnterior()
    {
        QFETCH(int, como);
        msgtest::install();
        {
            ArchivoReporte f("ReporteVentas.htm");
            QVERIFY(EscribirReporte(f, [&] {
                f.Escribir("<HTML>el bueno</HTML>");
                return true;
            }));
        }
        const QString ruta = dir.filePath("Reportes/ReporteVentas.htm");
        auto leer = [&] {
            QFile r(ruta);
            return r.open(QIODevice::ReadOnly) ? r.readAll() : QByteArray();
        };
        QCOMPARE(leer(), QByteArray("<HTML>el bueno</HTML>"));
        const QString fila = QString(" <tr bgcolor=BBBBBB><td>1</td></tr>").repeated(100);
        rlimit antes{};
        getrlimit(RLIMIT_FSIZE, &antes);
        const auto senal = std::signal(SIGXFSZ, SIG_IGN);
        bool ok = false;
        {
            ArchivoReporte f("ReporteVentas.htm");
            if (como == 3) {
                f.Crear();
                f.Escribir(fila);
            } else {
                if (como == 0) {
                    // No file may grow past 64 KiB: past it every write fails.
                    rlimit poco = antes;
                    poco.rlim_cur = 1 << 16;
                    QCOMPARE(setrlimit(RLIMIT_FSIZE, &poco), 0);
                }
                ok = EscribirReporte(f, [&] {
                    for (int i = 0; i < 100; ++i) {
                        f.Escribir(fila);
                        if (como == 1 && i == 50)
                            throw ado::Error{ado::err::InvalidNull, QStringLiteral("Uso no válido de Null")};
                    }
                    return como != 2;
                });
                setrlimit(RLIMIT_FSIZE, &antes);
            }
        }
        std::signal(SIGXFSZ, senal);
        QVERIFY(!ok);
        const QStringList esperados[] = {{QString::fromUtf8("Error inesperado N° 75. Error de acceso a la ruta o el archivo: ")
                                          + ruta},
                                         {QString::fromUtf8("Error inesperado N° 94. Uso no válido de Null")},
                                         {},
                                         {}};
        QCOMPARE(msgtest::texts(), esperados[como]);
        QCOMPARE(leer(), QByteArray("<HTML>el bueno</HTML>"));
        QCOMPARE(QDir(dir.filePath("Reportes")).entryList(QDir::Files | QDir::Hidden), QStringList{"ReporteVentas.htm"});
        msgtest::uninstall();
    }

    // The view reads the single-byte file, takes the legacy bare colour,
    // saves a copy of the page and does nothing without a page or on Cancel.
    void navegador()
    {
        const QString pagina = dir.filePath("p.htm");
        {
            QFile f(pagina);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<HTML><BODY><table><tr bgcolor=BBBBBB><td>Descripci\xf3n</td></tr></table></BODY></HTML>");
        }
        QString respuesta;
        webtest::install([&](const webtest::Call&) { return respuesta; });
        WebBrowser w;
        w.SaveAs();
        w.Print(true);
        QCOMPARE(webtest::calls().size(), 2);
        QCOMPARE(webtest::calls()[0].page, QString());
        w.Navigate(pagina);
        QCOMPARE(w.LocationURL(), pagina);
        QCOMPARE(w.toPlainText().trimmed(), QString::fromUtf8("Descripción"));
        QVERIFY(w.toHtml().contains("#bbbbbb"));
        w.SaveAs();  // Cancel
        QCOMPARE(QDir(dir.path()).entryList({"*.htm"}), QStringList({"p.htm"}));
        respuesta = dir.filePath("guardada.htm");
        w.SaveAs();
        QFile g(respuesta);
        QVERIFY(g.open(QIODevice::ReadOnly));
        QVERIFY(g.readAll().contains("Descripci\xf3n"));
        w.Navigate(dir.filePath("no-existe.htm"));
        QCOMPARE(w.LocationURL(), QString());
        QVERIFY(w.toPlainText().isEmpty());
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TstArchivosReporte t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_archivosreporte.moc"
