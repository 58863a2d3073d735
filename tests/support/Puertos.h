// Ports of the display and the receipt printer that name no device, and a
// FIFO that stands for one: what a path holds before and after a write, a
// path of each kind (the store's own file among them), and the FIFO's
// reader.
#pragma once

#include "StoreSetup.h"
#include "TestStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace puertos {

// What is at ruta, to compare before and after: nothing, a file's size and
// bytes, or a folder's entries.
inline QByteArray huella(const QString& ruta)
{
    const QFileInfo fi(ruta);
    if (!fi.exists())
        return "nada";
    if (fi.isDir())
        return "carpeta: " + QDir(ruta).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(' ').toUtf8();
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return "ilegible";
    return "archivo de " + QByteArray::number(fi.size()) + " bytes: " + f.readAll();
}

// A path in dir of the kind asked: "almacén" is the store's own file (on
// MariaDB, where the store is no file, a store file made the same way),
// "archivo" a file of text, "carpeta" a folder holding a file, "nada" a path
// where nothing is. A failure fails the running test.
inline QString puertoNoDispositivo(const QString& tipo, const QTemporaryDir& dir, const teststore::Target& t)
{
    if (tipo == QStringLiteral("almacén")) {
        if (!t.sqlitePath.isEmpty())
            return t.sqlitePath;
        const QString ruta = dir.filePath(QStringLiteral("Inventario.qln"));
        QString error;
        if (!QFileInfo::exists(ruta) && !tarvikdb::createSqliteStore(ruta, &error))
            teststore::fail(QStringLiteral("Store file not created: ") + error);
        return ruta;
    }
    if (tipo == QLatin1String("archivo")) {
        const QString ruta = dir.filePath(QStringLiteral("notas.txt"));
        QFile f(ruta);
        if (!f.open(QIODevice::WriteOnly) || f.write("Pedido de cemento: 40 sacos\n") < 0)
            teststore::fail(QStringLiteral("Cannot write ") + ruta);
        return ruta;
    }
    if (tipo == QLatin1String("carpeta")) {
        const QString ruta = dir.filePath(QStringLiteral("carpeta"));
        QFile f(ruta + QStringLiteral("/dentro.txt"));
        if (!QDir().mkpath(ruta) || !f.open(QIODevice::WriteOnly))
            teststore::fail(QStringLiteral("Cannot make ") + ruta);
        return ruta;
    }
    return dir.filePath(QStringLiteral("no/hay/puerto"));
}

// The rows of a test of such ports: the kind of path (puertoNoDispositivo)
// and the reason the clerk is given for it.
inline void filasNoDispositivo()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("razon");
    QTest::newRow("almacén") << "almacén" << "es un archivo común, no un dispositivo";
    QTest::newRow("archivo") << "archivo" << "es un archivo común, no un dispositivo";
    QTest::newRow("carpeta") << "carpeta" << "es una carpeta, no un dispositivo";
    QTest::newRow("no existe") << "nada" << "no existe";
}

// A FIFO in dir with its reader open, standing for a device.
struct Fifo {
    QString ruta;
    int lector = -1;
    explicit Fifo(const QTemporaryDir& dir, const QString& nombre = QStringLiteral("puerto")) : ruta(dir.filePath(nombre))
    {
        if (::mkfifo(QFile::encodeName(ruta).constData(), 0600) == 0)
            lector = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (lector < 0)
            teststore::fail(QStringLiteral("No FIFO at ") + ruta);
    }
    ~Fifo()
    {
        if (lector >= 0)
            ::close(lector);
    }
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;
    // What was written so far (a write has left in full when it returns).
    QByteArray leer()
    {
        QByteArray out;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(lector, buf, sizeof buf)) > 0)
            out.append(buf, int(n));
        return out;
    }
};

}  // namespace puertos
