// tarvik-setup: creates an empty Tarvik store.
//   tarvik-setup --sqlite PATH [--imagenes FOLDER]
//   tarvik-setup --mariadb [--host H] [--port P] [--user U] [--password W] [--database D] [--imagenes FOLDER]
// An existing Tarvik store only gets the indexes it lacks (and a local file
// fresh statistics), no row is touched; anything else that is already there
// is refused untouched. The picture folders are made in the program's
// folder: FOLDER, or for a local store the folder of its file, which the
// program opens from its own.
#include "StoreSetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

// What the set-up did to an existing store; a local file also had its
// statistics gathered again.
static QString indicesAgregados(int n, bool estadisticas)
{
    if (n == 0)
        return estadisticas ? QStringLiteral("tiene todos sus índices; se actualizaron sus estadísticas, sin tocar ninguna fila.")
                            : QStringLiteral("tiene todos sus índices, no se modifica.");
    const QString hecho =
        n == 1 ? QStringLiteral("se agregó 1 índice que faltaba") : QStringLiteral("se agregaron %1 índices que faltaban").arg(n);
    return hecho + (estadisticas ? QStringLiteral(" y se actualizaron sus estadísticas") : QString())
           + QStringLiteral(", sin tocar ninguna fila.");
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvik-setup"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Crea el almacén de datos de Tarvik con sus tablas y los datos iniciales."));
    p.addHelpOption();
    const QCommandLineOption sqlite(QStringLiteral("sqlite"), QStringLiteral("Archivo local a crear."),
                                    QStringLiteral("archivo"));
    const QCommandLineOption mariadb(QStringLiteral("mariadb"), QStringLiteral("Crear la base de datos en un servidor MariaDB."));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Servidor (localhost)."), QStringLiteral("host"),
                                  QStringLiteral("localhost"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Puerto (3306)."), QStringLiteral("puerto"),
                                  QStringLiteral("3306"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("Usuario (root)."), QStringLiteral("usuario"),
                                  QStringLiteral("root"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Contraseña (vacía)."),
                                      QStringLiteral("clave"), QString());
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Base de datos (Inventario)."),
                                      QStringLiteral("nombre"), QStringLiteral("Inventario"));
    const QCommandLineOption imagenes(QStringLiteral("imagenes"),
                                      QStringLiteral("Carpeta del programa en la que crear las carpetas de imágenes "
                                                     "(con --sqlite, la del archivo)."),
                                      QStringLiteral("carpeta"));
    p.addOptions({sqlite, mariadb, host, port, user, password, database, imagenes});
    p.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);

    if (p.isSet(sqlite) == p.isSet(mariadb)) {
        err << "Indique --sqlite ARCHIVO o --mariadb\n";
        return 2;
    }

    // After the store: the folders the picture dialogs start in.
    auto carpetas = [&](const QString& programa) {
        if (programa.isEmpty())
            return 0;
        QString e;
        if (!tarvikdb::createPictureFolders(programa, &e)) {
            err << "No se crearon las carpetas de imágenes: " << e << "\n";
            return 1;
        }
        out << "Carpetas de imágenes en " << QDir(programa).filePath(QStringLiteral("Imagenes")) << "\n";
        return 0;
    };

    QString error;
    if (p.isSet(sqlite)) {
        const QString path = p.value(sqlite);
        const QString programa = p.isSet(imagenes) ? p.value(imagenes) : QFileInfo(path).absolutePath();
        if (QFileInfo::exists(path)) {
            const int n = tarvikdb::addMissingSqliteIndexes(path, &error);
            if (n < 0) {
                err << "No se modifica " << path << ": " << error << "\n";
                return 1;
            }
            out << "El archivo " << path << " ya existe; " << indicesAgregados(n, true) << "\n";
            return carpetas(programa);
        }
        if (!tarvikdb::createSqliteStore(path, &error)) {
            err << "No se pudo crear " << path << ": " << error << "\n";
            return 1;
        }
        out << "Creado " << path << "\n";
        return carpetas(programa);
    }

    bool portOk = false;
    const int portNo = p.value(port).toInt(&portOk);
    if (!portOk || portNo <= 0 || portNo > 65535) {
        err << "Puerto no válido: " << p.value(port) << "\n";
        return 2;
    }
    const QString db = p.value(database);
    const int tables = tarvikdb::mariaDbTableCount(p.value(host), portNo, p.value(user), p.value(password), db, &error);
    if (tables < 0) {
        err << "No se pudo conectar con el servidor: " << error << "\n";
        return 1;
    }
    if (tables > 0) {
        const int n = tarvikdb::addMissingMariaDbIndexes(p.value(host), portNo, p.value(user), p.value(password), db, &error);
        if (n < 0) {
            err << "No se modifica la base de datos " << db << ": " << error << "\n";
            return 1;
        }
        out << "La base de datos " << db << " ya existe; " << indicesAgregados(n, false) << "\n";
        return carpetas(p.value(imagenes));
    }
    if (!tarvikdb::createMariaDbDatabase(p.value(host), portNo, p.value(user), p.value(password), db, false, &error)) {
        err << "No se pudo crear la base de datos " << db << ": " << error << "\n";
        return 1;
    }
    out << "Creada la base de datos " << db << "\n";
    return carpetas(p.value(imagenes));
}
