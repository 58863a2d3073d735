// TARVIK_STORE_TEST: the picture folders that the set-up makes beside the
// program, and the picture dialogs of the article, client and supplier
// windows, which start in them; Qt's real file dialog is opened and read.
#include "AppPath.h"
#include "Escritorio.h"
#include "Procesos.h"
#include "Prueba.h"
#include "fArticulos.h"
#include "fClientes.h"
#include "fProveedores.h"

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

using Abridor = std::function<QWidget*()>;

// What the dialog showed on opening, and the box the choice went to.
struct Apertura {
    bool vista = false;
    QString carpeta;
    QString nombre;
};

// Clicks the button, reads the file dialog it opens, then picks the file
// named (or cancels with none).
Apertura abrirDialogo(QWidget* ventana, const QString& elegir = QString())
{
    Apertura a;
    int intentos = 0;
    std::function<void()> leer = [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) {
            if (++intentos < 100)
                QTimer::singleShot(20, leer);
            return;
        }
        a.vista = true;
        a.carpeta = d->directory().absolutePath();
        a.nombre = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        if (elegir.isEmpty()) {
            d->reject();
        } else {
            d->selectFile(elegir);
            static_cast<QDialog*>(d)->accept();  // the dialog's own Open
        }
    };
    QTimer::singleShot(0, leer);
    fx::hijo<QPushButton>(ventana, "bBuscarImagen")->click();
    return a;
}

// The set-up as run.sh runs it: on a new local store in the program's
// folder, or on the server's store with the program's folder named.
bool prepararTienda(const QString& programa, const teststore::Target& servidor)
{
    QDir().mkpath(programa);
    QStringList args;
    if (teststore::mariadb())
        args << "--mariadb"
             << "--host" << teststore::serverHost() << "--port" << QString::number(teststore::serverPort()) << "--user"
             << "root"
             << "--password"
             << ""
             << "--database" << servidor.database << "--imagenes" << programa;
    else
        args << "--sqlite" << QDir(programa).filePath("Inventario.qln");
    bool ok = false;
    const QString salida = procesos::Ejecutar(QStringLiteral(TARVIK_SETUP), args, &ok);
    if (!ok)
        qWarning("%s", qPrintable(salida));
    return ok;
}

}  // namespace

Q_DECLARE_METATYPE(Abridor)

class TstImagenes : public Prueba {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void cleanup()
    {
        SetAppPath(QString());
        Prueba::cleanup();
    }

    // A new shop gets the three folders; a second run keeps what they hold.
    void setupMakesThePictureFolders()
    {
        TESTSTORE_OPEN_FRESH(t);
        const QString programa = dir_.filePath("setup");
        QVERIFY(prepararTienda(programa, t));
        for (const char* sub : {"Articulos", "Clientes", "Proveedores"})
            QVERIFY2(QFileInfo(QDir(programa).filePath(QStringLiteral("Imagenes/") + sub)).isDir(), sub);
        const QString foto = QDir(programa).filePath("Imagenes/Clientes/foto.png");
        QVERIFY(QImage(2, 2, QImage::Format_RGB32).save(foto));
        QVERIFY(prepararTienda(programa, t));
        QVERIFY(QFileInfo::exists(foto));
    }

    // Each window's "..." opens its own folder, with no file name typed, and
    // a file picked there lands in the picture box with its full path.
    void dialogStartsInItsFolder_data()
    {
        columnas<Abridor, QString, int>("abrir", "carpeta", "caja");
        QTest::newRow("article") << Abridor([] { return static_cast<QWidget*>(&Ventana<fArticulos>()); }) << "Articulos" << 12;
        QTest::newRow("client") << Abridor([] { return static_cast<QWidget*>(&Ventana<fClientes>()); }) << "Clientes" << 8;
        QTest::newRow("supplier") << Abridor([] { return static_cast<QWidget*>(&Ventana<fProveedores>()); }) << "Proveedores" << 8;
    }
    void dialogStartsInItsFolder()
    {
        QFETCH(Abridor, abrir);
        QFETCH(QString, carpeta);
        QFETCH(int, caja);
        TESTSTORE_OPEN_FRESH(t);
        const QString programa = dir_.filePath("dialogo");
        QVERIFY(prepararTienda(programa, t));
        SetAppPath(programa);
        const QString imagenes = QDir(programa).filePath("Imagenes/" + carpeta);
        QVERIFY(QImage(2, 2, QImage::Format_RGB32).save(QDir(imagenes).filePath("foto.png")));
        QWidget* w = abrir();
        w->show();
        auto* box = fx::hijo<QLineEdit>(w, QString("txt%1").arg(caja));

        Apertura a = abrirDialogo(w);
        QVERIFY(a.vista);
        QCOMPARE(a.carpeta, QDir(imagenes).absolutePath());
        QCOMPARE(a.nombre, QString());
        QCOMPARE(box->text(), QString());  // cancelled: nothing written

        a = abrirDialogo(w, "foto.png");
        QVERIFY(a.vista);
        QCOMPARE(box->text(), QDir(imagenes).absoluteFilePath("foto.png"));
        QCOMPARE(msgtest::texts(), QStringList());
        CerrarVentana(w);
    }

    // Folders removed after the set-up: the dialog opens in the program's
    // folder, still with no file name typed.
    void missingFolderOpensTheProgramFolder()
    {
        TESTSTORE_OPEN_FRESH(t);
        const QString programa = dir_.filePath("sin-imagenes");
        QVERIFY(QDir().mkpath(programa));
        SetAppPath(programa);
        fArticulos& w = Ventana<fArticulos>();
        w.show();
        const Apertura a = abrirDialogo(&w);
        QVERIFY(a.vista);
        QCOMPARE(a.carpeta, QDir(programa).absolutePath());
        QCOMPARE(a.nombre, QString());
        CerrarVentana(&w);
    }
};

QTEST_MAIN(TstImagenes)
#include "tst_imagenes.moc"
