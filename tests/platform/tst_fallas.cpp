// TARVIK_STORE_TEST: the store under faults: files that are not the
// program's, read-only stores, locks held elsewhere, a full disk, and texts
// and boxes at the length of their columns.
#include "AppPath.h"
#include "Procesos.h"
#include "StoreSetup.h"
#include "TestStore.h"
#include "adodb.h"
#include "fClientes.h"
#include "fSplash.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using teststore::Target;

namespace {

QByteArray checksum(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A small memory file system of its own; gone with the object.
struct SmallDisk {
    QTemporaryDir root;
    QString dir, why;
    bool mounted = false;
    explicit SmallDisk(const QString& size)
    {
        dir = root.filePath(QStringLiteral("disco"));
        QDir().mkpath(dir);
        bool ok = false;
        why = procesos::Ejecutar(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", dir}, &ok);
        mounted = ok;
    }
    bool readOnly() { return runOk({"-o", "remount,ro", dir}); }
    ~SmallDisk()
    {
        if (mounted)
            procesos::Ejecutar(QStringLiteral("umount"), {dir});
    }
    bool runOk(const QStringList& args)
    {
        bool ok = false;
        why = procesos::Ejecutar(QStringLiteral("mount"), args, &ok);
        return ok;
    }
};

// A file or folder that even root cannot change, until the object goes.
struct Immutable {
    QString path, why;
    bool set = false;
    explicit Immutable(const QString& p) : path(p) { why = procesos::Ejecutar(QStringLiteral("chattr"), {"+i", p}, &set); }
    ~Immutable()
    {
        if (set)
            procesos::Ejecutar(QStringLiteral("chattr"), {"-i", path});
    }
};

// A second workstation's connection, kept open across statements.
struct OtherStation {
    QString name = QStringLiteral("otra_estacion");
    QSqlDatabase db;
    explicit OtherStation(const Target& t)
    {
        if (t.database.isEmpty()) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(t.sqlitePath);
        } else {
            db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
            db.setHostName(teststore::serverHost());
            db.setPort(teststore::serverPort());
            db.setUserName(QStringLiteral("root"));
            db.setDatabaseName(t.database);
        }
        db.open();
    }
    ~OtherStation()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    bool exec(const QString& sql)
    {
        QSqlQuery q(db);
        return q.exec(sql);
    }
};

// Every file of a folder with its checksum.
QMap<QString, QByteArray> folder(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, checksum(dir + "/" + name));
    return files;
}

// A file of another program, made with Qt SQL and closed.
bool foreignDatabase(const QString& path, const QString& journalMode, const QString& table)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "ajena");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        ok = db.open() && (journalMode.isEmpty() || q.exec("PRAGMA journal_mode=" + journalMode))
             && q.exec("CREATE TABLE " + table + " (codigo INTEGER)") && q.exec("INSERT INTO " + table + " VALUES (1)");
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("ajena");
    return ok;
}

int cantidad()
{
    if (!AbrirRecordset(QStringLiteral("Select cantidad From ARTICULOS Where codigo_art = 'A1'")) || gRecordset->Eof())
        return -1;
    return gRecordset->Fields(0).toInt();
}

const char* const kOcupada = "La base de datos está ocupada por otra estación de trabajo y el trabajo no se guardó";
const char* const kLlena = "El disco de la base de datos está lleno y el trabajo no se guardó";
const char* const kSoloLectura = "La base de datos es de solo lectura";

}  // namespace

class TstFallas : public QObject {
    Q_OBJECT

    // The sign-in over the folder, as a clerk meets it: one message with
    // words, no company offered, nothing open.
    void refusedAtSignIn(const QString& dir, const QString& words)
    {
        SetAppPath(dir);
        fSplash& s = Ventana<fSplash>();
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains(words), qPrintable(msgtest::texts()[0]));
        QVERIFY2(msgtest::texts()[0].contains(QDir::toNativeSeparators(dir)), qPrintable(msgtest::texts()[0]));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Critical);
        QCOMPARE(s.lstEmpresas->count(), 0);
        QVERIFY(!Conexion().isOpen());
    }

private slots:
    void init()
    {
        msgtest::install();
        ReiniciarVariablesGlobales();
    }
    void cleanup()
    {
        delete VentanaAbierta<fSplash>();
        delete VentanaAbierta<fClientes>();
        fSplash::SetTextoConexionServidorParaPruebas(QString());
        SetAppPath(QString());
        Conexion().Close();
        msgtest::uninstall();
        ReiniciarVariablesGlobales();
    }

    void filesNotOursAreLeftAsTheyWere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("another program's database") << "foreign";
        QTest::newRow("another program's database in WAL mode") << "wal";
        QTest::newRow("WAL mode with a -wal of its own beside it") << "own wal";
        QTest::newRow("zero bytes") << "empty";
        QTest::newRow("text") << "text";
        QTest::newRow("one of our tables only") << "partial";
    }
    void filesNotOursAreLeftAsTheyWere()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("Inventario.qln");
        if (kind == "empty" || kind == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == "text")
                f.write("Lista de precios\ncodigo;nombre;precio\nA1;Arroz;25.50\n");
        } else {
            const bool wal = kind == "wal" || kind == "own wal";
            QVERIFY(foreignDatabase(path, wal ? "WAL" : "", kind == "partial" ? "empresas" : "notas"));
        }
        if (kind == "own wal") {
            QFile wal(path + "-wal");
            QVERIFY(wal.open(QIODevice::WriteOnly));
        }
        const QByteArray before = checksum(path);
        const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
        const auto folderBefore = folder(dir.path());
        QCOMPARE(folderBefore.size(), kind == "own wal" ? 2 : 1);

        refusedAtSignIn(dir.path(), "no es una base de datos del programa");

        QCOMPARE(checksum(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), filesBefore);
        QCOMPARE(folder(dir.path()), folderBefore);
    }

    // A store of ours that lost pages is told apart from a file of another
    // program, and neither repaired nor written.
    void damagedStoreIsLeftAsItWas_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("cut to half its size") << "half";
        QTest::newRow("last page missing") << "page";
        QTest::newRow("last page missing, a -wal beside it") << "page, wal";
        QTest::newRow("cut inside the header") << "header";
        QTest::newRow("schema page overwritten") << "schema";
    }
    void damagedStoreIsLeftAsItWas()
    {
        QFETCH(QString, damage);
        if (teststore::mariadb())
            QSKIP("the local file is SQLite");
        TESTSTORE_FRESH(t);
        const QString dir = QFileInfo(t.sqlitePath).absolutePath();
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{"Inventario.qln"});
        QFile f(t.sqlitePath);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QByteArray head = f.peek(100);
        const int pageSize = (uchar(head[16]) << 8) | uchar(head[17]);
        QVERIFY(f.size() > 4 * pageSize);
        if (damage == "half") {
            QVERIFY(f.resize(f.size() / 2));
        } else if (damage.startsWith("page")) {
            QVERIFY(f.resize(f.size() - pageSize));
        } else if (damage == "header") {
            QVERIFY(f.resize(60));
        } else {
            QVERIFY(f.seek(100));
            QCOMPARE(f.write(QByteArray(pageSize - 100, '\xff')), qint64(pageSize - 100));
        }
        f.close();
        if (damage.endsWith("wal")) {
            QFile wal(t.sqlitePath + "-wal");
            QVERIFY(wal.open(QIODevice::WriteOnly));
        }
        const auto folderBefore = folder(dir);

        refusedAtSignIn(dir, "es una base de datos del programa, pero está dañado (incompleto o corrupto) y no se puede abrir. "
                             "No lo modifique ni lo borre: restaure la última copia de seguridad o pida ayuda al técnico");
        QVERIFY2(msgtest::texts().value(0).startsWith("Error No: "), qPrintable(msgtest::texts().value(0)));

        QCOMPARE(folder(dir), folderBefore);
    }

    // The check reads the file through an address of its own; a folder
    // name as users give them still leads to the same file.
    void storeOpensFromAFolderWithAnyName()
    {
        if (teststore::mariadb())
            QSKIP("the local file is SQLite");
        QTemporaryDir root;
        const QString dir = root.filePath("Mis datos, año #1 ?%20 100%");
        QVERIFY(QDir().mkpath(dir));
        QString error;
        QVERIFY2(tarvikdb::createSqliteStore(dir + "/Inventario.qln", &error), qPrintable(error));
        SetAppPath(dir);
        fSplash& s = Ventana<fSplash>();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(Conexion().isOpen());
        QVERIFY(s.lstEmpresas->count() > 0);
    }

    void readOnlyStoreRefusedAtSignIn_data()
    {
        QTest::addColumn<QString>("kind");
        if (teststore::mariadb()) {
            QTest::newRow("server user that may only read") << "user";
        } else {
            QTest::newRow("immutable file") << "file";
            QTest::newRow("read-only folder") << "folder";
        }
    }
    void readOnlyStoreRefusedAtSignIn()
    {
        QFETCH(QString, kind);
        TESTSTORE_FRESH(t);
        QTemporaryDir sinArchivo;
        std::unique_ptr<Immutable> immutable;
        std::unique_ptr<SmallDisk> disk;
        QString path = t.sqlitePath;
        const QString reader = QStringLiteral("lector_%1").arg(QCoreApplication::applicationPid());
        if (kind == "file") {
            immutable = std::make_unique<Immutable>(path);
            if (!immutable->set)
                QSKIP(qPrintable("chattr +i is not allowed here: " + immutable->why));
        } else if (kind == "folder") {
            disk = std::make_unique<SmallDisk>("4m");
            if (!disk->mounted)
                QSKIP(qPrintable("no tmpfs can be mounted here: " + disk->why));
            path = disk->dir + "/Inventario.qln";
            QVERIFY(QFile::copy(t.sqlitePath, path));
            QVERIFY2(disk->readOnly(), qPrintable(disk->why));
        } else {
            teststore::execRaw(t, "CREATE USER IF NOT EXISTS '" + reader + "'@'%'");
            teststore::execRaw(t, "GRANT SELECT ON `" + t.database + "`.* TO '" + reader + "'@'%'");
        }
        const QByteArray before = kind == "user" ? QByteArray() : checksum(path);

        fSplash* s = nullptr;
        if (kind == "user") {
            SetAppPath(sinArchivo.path());
            QString text = t.connectionString;
            fSplash::SetTextoConexionServidorParaPruebas(text.replace("UID=root", "UID=" + reader));
            s = &Ventana<fSplash>();
            msgtest::clear();
            s->bConectarMySql->click();
            teststore::execRaw(t, "DROP USER '" + reader + "'@'%'");
            QCOMPARE(msgtest::texts().size(), 2);
            QCOMPARE(msgtest::texts()[1], QString("Error en la función InicialiceADO en el módulo 'mFunciones'"));
        } else {
            SetAppPath(QFileInfo(path).absolutePath());
            s = &Ventana<fSplash>();
            QCOMPARE(msgtest::texts().size(), 1);
            QCOMPARE(checksum(path), before);
        }
        QVERIFY2(msgtest::texts()[0].startsWith("Error No: "), qPrintable(msgtest::texts()[0]));
        QVERIFY(msgtest::texts()[0].contains(kSoloLectura));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Critical);
        // No company is offered: nothing can be signed into.
        QCOMPARE(s->lstEmpresas->count(), 0);
        QVERIFY(!Conexion().isOpen());
    }

    void lockHeldElsewhereGivesBusyWithinTheBound()
    {
        TESTSTORE_OPEN_FRESH(t);
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art, cantidad) VALUES ('A1', 10)");
        OtherStation other(t);
        QVERIFY2(other.db.isOpen(), qPrintable(other.db.lastError().text()));
        QVERIFY(other.exec(teststore::mariadb() ? "START TRANSACTION" : "BEGIN IMMEDIATE"));
        QVERIFY(other.exec("UPDATE ARTICULOS SET cantidad = 5 WHERE codigo_art = 'A1'"));

        QElapsedTimer clock;
        clock.start();
        QVERIFY(!AbrirRecordset("Update ARTICULOS Set cantidad = 1 Where codigo_art = 'A1'"));
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= (ado::Connection::kLockWaitSeconds - 1) * 1000 && waited < (ado::Connection::kLockWaitSeconds + 4) * 1000,
                 qPrintable(QString::number(waited)));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].startsWith("Error No: "), qPrintable(msgtest::texts()[0]));
        QVERIFY(msgtest::texts()[0].contains(kOcupada));

        // Once the other station is done, the same work goes through.
        QVERIFY(other.exec("ROLLBACK"));
        msgtest::clear();
        QVERIFY(AbrirRecordset("Update ARTICULOS Set cantidad = 1 Where codigo_art = 'A1'"));
        QCOMPARE(cantidad(), 1);
        QCOMPARE(msgtest::texts(), QStringList());
    }

    void fullDiskRefusesThenResumes()
    {
        if (teststore::mariadb())
            QSKIP("a server whose disk is full waits for space instead of failing; the clerk's side is the local file");
        SmallDisk disk("2m");
        if (!disk.mounted)
            QSKIP(qPrintable("no tmpfs can be mounted here: " + disk.why));
        Target t;
        t.provider = "Microsoft.Jet.OLEDB.4.0";
        t.sqlitePath = t.connectionString = disk.dir + "/Inventario.qln";
        QString error;
        QVERIFY2(tarvikdb::createSqliteStore(t.sqlitePath, &error), qPrintable(error));
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art, cantidad) VALUES ('A1', 10)");
        teststore::openOn(Conexion(), t);

        QFile filler(disk.dir + "/relleno");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray chunk(4096, 'x');
        while (filler.write(chunk) == chunk.size() && filler.flush()) {
        }
        filler.close();

        const QString update = "Update ARTICULOS Set observaciones_art = '" + QString(60000, 'n') + "' Where codigo_art = 'A1'";
        QVERIFY(!AbrirRecordset(update));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].startsWith("Error No: "), qPrintable(msgtest::texts()[0]));
        QVERIFY(msgtest::texts()[0].contains(kLlena));
        QCOMPARE(teststore::scalarRaw(t, "PRAGMA integrity_check").toString(), QString("ok"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT count(*) FROM ARTICULOS WHERE observaciones_art IS NULL").toInt(), 1);

        QVERIFY(QFile::remove(filler.fileName()));
        msgtest::clear();
        QVERIFY(AbrirRecordset(update));
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(teststore::scalarRaw(t, "SELECT length(observaciones_art) FROM ARTICULOS").toInt(), 60000);
        Conexion().Close();
    }

    void columnLengthsMatchTheServerDeclarations()
    {
        TESTSTORE_OPEN_FRESH(t);
        // What the server's declarations allow, column by column.
        QHash<QString, QPair<int, int>> server;
        static const QRegularExpression table("CREATE TABLE (\\w+)");
        static const QRegularExpression column("^\\s*(\\w+)\\s+(VARCHAR\\((\\d+)\\)|TEXT)[\\s,]", QRegularExpression::MultilineOption);
        for (const QString& st : tarvikdb::statements("mariadb", false)) {
            const auto tm = table.match(st);
            if (!tm.hasMatch())
                continue;
            for (auto it = column.globalMatch(st); it.hasNext();) {
                const auto m = it.next();
                server.insert((tm.captured(1) + "." + m.captured(1)).toLower(),
                              m.captured(3).isEmpty() ? qMakePair(0, 65535) : qMakePair(m.captured(3).toInt(), 0));
            }
        }
        QVERIFY(server.size() > 50);
        int texts = 0;
        for (const ado::TableInfo& ti : Conexion().catalog().tables) {
            for (const ado::ColumnInfo& c : ti.columns) {
                if (c.kind != ado::Kind::Text)
                    continue;
                ++texts;
                const QString key = (ti.name + "." + c.name).toLower();
                QVERIFY2(server.contains(key), qPrintable(key));
                QCOMPARE(qMakePair(c.maxChars, c.maxBytes), server.value(key));
            }
        }
        QCOMPARE(texts, server.size());
    }

    void longestTextsStoredAlike_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("longest");
        QTest::addColumn<QString>("tooLong");
        const QString enes = QString(255, QChar(0xD1));
        QTest::newRow("client name, 255 characters") << "CLIENTES" << "nombre_cli" << enes << enes + "A";
        // A character beyond the first plane counts one, as both stores count it.
        const QString emoji = QString::fromUtf8("😀").repeated(255);
        QTest::newRow("client name, 255 emoji") << QString("CLIENTES") << QString("nombre_cli") << emoji << emoji + "A";
        QTest::newRow("article description, 70") << "ARTICULOS" << "descripcion_art" << QString(70, 'D') << QString(71, 'D');
        QTest::newRow("NCF prefix, 11") << "empresas" << "prefijo_ncf" << QString(11, '9') << QString(12, '9');
        const QString notes = QString(32767, QChar(0xF1)) + "a";  // 65535 bytes
        QTest::newRow("client notes, 65535 bytes") << "CLIENTES" << "notas_cli" << notes << notes + "a";
    }
    void longestTextsStoredAlike()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, longest);
        QFETCH(QString, tooLong);
        TESTSTORE_OPEN_FRESH(t);
        const QString key = table == "empresas" ? "codigo_emp" : table == "ARTICULOS" ? "codigo_art" : "codigo_cli";
        ado::Recordset rs;
        rs.Open(table, Conexion());
        rs.AddNew();
        rs.Fields(key).setValue(QString("7"));
        rs.Fields(column).setValue(longest);
        rs.Update();
        const QString where = key + (table == "empresas" ? " = 7" : " = '7'");
        QCOMPARE(teststore::scalarRaw(t, "SELECT " + column + " FROM " + table + " WHERE " + where).toString(), longest);

        rs.Open("Select * From " + table, Conexion());
        rs.MoveLast();
        try {
            rs.Fields(column).setValue(tooLong);
            QFAIL("a text longer than its column was taken");
        } catch (const ado::Error& e) {
            QCOMPARE(e.number, long(ado::err::TooLong));
            QCOMPARE(e.fault, ado::Fault::TooLong);
        }
        // The same text in a statement is refused by the store itself.
        QVERIFY(!AbrirRecordset("Update " + table + " Set " + column + " = '" + tooLong + "'"));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains("Un texto es más largo de lo que admite su campo"), qPrintable(msgtest::texts()[0]));
    }

    void boxesTakeWhatTheirColumnsHold()
    {
        TESTSTORE_OPEN_FRESH(t);
        fClientes& c = Ventana<fClientes>();
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        const ado::TableInfo* clientes = Conexion().catalog().table("CLIENTES");
        QVERIFY(clientes);
        for (int i = 0; i < clientes->columns.size(); ++i) {
            auto* box = c.findChild<QLineEdit*>(QString("txt%1").arg(i));
            if (box && clientes->columns[i].kind == ado::Kind::Text) {
                QCOMPARE(box->maxLength(), clientes->columns[i].maxChars);
                // Cut at the limit, an emoji goes whole in every box.
                const QString kept(box->maxLength() - 1, 'X');
                box->setText(kept + QString::fromUtf8("😀"));
                QCOMPARE(box->text(), kept);
                box->clear();
            }
        }
        // A pasted name of 301 characters keeps the 255 the column holds,
        // and both stores keep the same.
        c.Nuevo();
        auto* codigo = c.findChild<QLineEdit*>("txt0");
        auto* nombre = c.findChild<QLineEdit*>("txt1");
        QTest::keyClicks(codigo, "77");
        QApplication::clipboard()->setText(QString(300, 'n') + "z");
        nombre->setFocus();
        QTest::keyClick(nombre, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(nombre->text(), QString(255, 'N'));
        c.findChild<QPushButton*>("bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(teststore::scalarRaw(t, "SELECT nombre_cli FROM CLIENTES WHERE codigo_cli = '77'").toString(), QString(255, 'N'));
    }
};

QTEST_MAIN(TstFallas)
#include "tst_fallas.moc"
