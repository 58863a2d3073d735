// The workstation mix on the three nodes of a cluster, or on one server for
// comparison. Each workstation is a child process of this program on one
// node in turn, a clerk at the windows: cash sales, credit sales, purchases
// and payments on a shared sale and a shared purchase, pressing again after
// a failed press as a clerk would. Then the store is read back on every
// node. Prints the operations told stored against those found stored,
// duplicate numbers and NCFs, stock against lines and stock card, balances
// in cents, the counters, whether the nodes hold the same rows, and the
// boxes the clerks were shown.
//
//   bench_galera_soak [WORKSTATIONS [OPERATIONS]]       nodes TARVIK_GALERA_HOST1..3/PORT1..3
//   bench_galera_soak --server HOST:PORT [WORKSTATIONS [OPERATIONS]]
//
// 9 workstations of 100 operations unless told; the store is the database
// Inventario_soak, made afresh on the first node.
#include "Facturacion.h"
#include "StoreSetup.h"
#include "fFact_xCobrar.h"
#include "fFact_xPagar.h"
#include "mNumeracionNCF.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using namespace fac;

const char* const kBase = "Inventario_soak";
const int kInicial = 1000000;  // stock of the one article
const int kPulsaciones = 50;   // presses of one operation before the clerk gives up
const int kEsperaMs = 3600 * 1000;

struct Nodo {
    QString host;
    int port = 0;
};

QString Texto(const Nodo& n) { return n.host + QLatin1Char(':') + QString::number(n.port); }

teststore::Target Destino(const Nodo& n)
{
    teststore::Target t;
    t.database = QString::fromLatin1(kBase);
    t.connectionString = QStringLiteral("DRIVER={MySQL ODBC 3.51 Driver};SERVER=%1;PORT=%2;DATABASE=%3;UID=root;PWD=;OPTION=18475")
                             .arg(n.host)
                             .arg(n.port)
                             .arg(t.database);
    return t;
}

[[noreturn]] void Abortar(const QString& texto)
{
    std::fprintf(stderr, "bench_galera_soak: %s\n", qPrintable(texto));
    std::exit(1);
}

// ---- a workstation ----

bool EsPregunta(MsgStyle s)
{
    return s == MsgStyle::Question || s == MsgStyle::ExclamationQuestion || s == MsgStyle::QuestionNoDefault;
}

// Presses until stored or the clerk gives up; every box shown goes to
// stdout. Each press is a new action of the clerk's. An invoice is stored
// when pulsar() says so; a payment when the press showed no failure.
template <class Pulsar>
bool Insistir(const char* tipo, Pulsar pulsar, int& pulsaciones, bool porCajas = false)
{
    for (int i = 0; i < kPulsaciones; ++i) {
        ++pulsaciones;
        msgtest::clear();
        const bool hecho = pulsar();
        bool fallo = false;
        for (const msgtest::Call& c : msgtest::calls()) {
            const bool pregunta = EsPregunta(c.style);
            const bool aviso = c.text.startsWith(QStringLiteral("Otra estación de trabajo tomó lo propuesto"));
            fallo = fallo || (!pregunta && !aviso);
            QString t = c.text;
            t.replace(QLatin1Char('\n'), QLatin1String(" / "));
            std::printf("caja %s %s %s\n", pregunta ? "pregunta" : aviso ? "aviso" : "error", tipo, qPrintable(t));
        }
        if (hecho && !(porCajas && fallo))
            return true;
    }
    std::printf("singuardar %s\n", tipo);
    return false;
}

// A child: operaciones operations in turn, as in the workstations test: a
// cash sale, a credit sale (3.33 paid), a cash purchase, a payment of 1.11
// on the shared sale, one of 2.22 on the shared purchase. What it was told
// stored goes to stdout.
int Puesto(const QStringList& args)
{
    const Nodo nodo{args.value(2), args.value(3).toInt()};
    const int operaciones = args.value(4).toInt();
    const teststore::Target t = Destino(nodo);
    abrirPuesto(t);
    auto cobrar = std::make_unique<fFact_xCobrar>();
    auto pagar = std::make_unique<fFact_xPagar>();
    int pulsaciones = 0;
    for (int i = 0; i < operaciones; ++i) {
        switch (i % 5) {
        case 0:
        case 1: {
            const auto w = ventaDePuesto(i % 5 == 1);
            const auto aplicar = [&] { return w->bAplicar_Click(); };
            if (Insistir("venta", aplicar, pulsaciones))
                std::printf("venta %s %s\n", qPrintable(caja(*w, 0)), qPrintable(caja(*w, 15)));
            break;
        }
        case 2: {
            const auto w = compraDePuesto();
            const auto aplicar = [&] { return w->bAplicar_Click(); };
            if (Insistir("compra", aplicar, pulsaciones))
                std::printf("compra %s\n", qPrintable(caja(*w, 0)));
            break;
        }
        case 3: {
            const auto abonar = [&] { return Abonar(*cobrar, "1.11"); };
            if (Insistir("cobro", abonar, pulsaciones, true))
                std::printf("cobro\n");
            break;
        }
        case 4: {
            const auto abonar = [&] { return Abonar(*pagar, "2.22"); };
            if (Insistir("pago", abonar, pulsaciones, true))
                std::printf("pago\n");
            break;
        }
        }
        std::fflush(stdout);
    }
    std::printf("pulsaciones %d\n", pulsaciones);
    return 0;
}

// ---- the store read back ----

// A plain connection to one node; on a cluster every read waits for what
// the cluster has committed.
class Lector {
public:
    Lector(const Nodo& n, int i, bool cluster) : nombre_(QStringLiteral("soak_%1").arg(i))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), nombre_);
        db.setHostName(n.host);
        db.setPort(n.port);
        db.setUserName(QStringLiteral("root"));
        db.setDatabaseName(QString::fromLatin1(kBase));
        if (!db.open())
            Abortar(QStringLiteral("no connection to %1: %2").arg(Texto(n), db.lastError().text()));
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (cluster)
            filas(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
    }
    ~Lector() { QSqlDatabase::removeDatabase(nombre_); }

    QList<QVariantList> filas(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(nombre_, false));
        if (!q.exec(sql))
            Abortar(QStringLiteral("%1\n  %2").arg(q.lastError().text(), sql));
        QList<QVariantList> out;
        while (q.next()) {
            QVariantList r;
            for (int i = 0; i < q.record().count(); ++i)
                r << q.value(i);
            out << r;
        }
        return out;
    }
    QVariant valor(const QString& sql) const
    {
        const auto r = filas(sql);
        return r.isEmpty() || r.first().isEmpty() ? QVariant() : r.first().first();
    }
    qint64 entero(const QString& sql) const { return valor(sql).toLongLong(); }

private:
    QString nombre_;
};

// Whole cents, and whether the stored double is exactly that many cents.
qint64 Centavos(const QVariant& v, int& inexactos)
{
    const double r = std::nearbyint(v.toDouble() * 100);
    if (v.toDouble() != r / 100)
        ++inexactos;
    return qint64(r);
}

// Invoices of facturas whose money does not add up: the total is not net
// plus tax less discount, or the amount paid is not the sum of the payments
// in abonos, or the balance not the total less it, or the state does not
// follow the balance.
int Descuadres(const Lector& l, const QString& facturas, const QString& abonos, int& inexactos)
{
    QHash<qint64, qint64> pagado;
    for (const QVariantList& p : l.filas("SELECT codigo_fac, valor_abono FROM " + abonos))
        pagado[p[0].toLongLong()] += Centavos(p[1], inexactos);
    int malas = 0;
    for (const QVariantList& f :
         l.filas("SELECT codigo_fac, total, abono, saldo, Estado, valor_neto, impuesto_total, descuento FROM " + facturas)) {
        const qint64 total = Centavos(f[1], inexactos), abono = Centavos(f[2], inexactos), saldo = Centavos(f[3], inexactos);
        const qint64 suma = Centavos(f[5], inexactos) + Centavos(f[6], inexactos) - Centavos(f[7], inexactos);
        const qint64 p = pagado.value(f[0].toLongLong());
        const bool cerrada = f[4].toString() == QLatin1String("Cancelada");
        const bool bien =
            total == suma
            && (cerrada ? saldo == 0 && abono == total && p == 0
                        : f[4].toString() == QLatin1String("Sin Cancelar") && abono == p && saldo == total - p && saldo > 0);
        malas += bien ? 0 : 1;
    }
    return malas;
}

struct Contado {
    QList<QPair<qint64, QString>> ventas;  // number and NCF told
    QList<qint64> compras;
    int cobros = 0, pagos = 0, pulsaciones = 0;
    QMap<QString, int> sinGuardar;
    int preguntas = 0, avisos = 0, errores = 0;
    QMap<QString, int> erroresPor;  // failure boxes by operation
    QMap<QString, int> textos;      // and by text
};

void Leer(const QByteArray& salida, Contado& c)
{
    for (const QByteArray& linea : salida.split('\n')) {
        const QString l = QString::fromUtf8(linea);
        const QString tipo = l.section(QLatin1Char(' '), 0, 0);
        if (tipo == QLatin1String("venta"))
            c.ventas << qMakePair(l.section(QLatin1Char(' '), 1, 1).toLongLong(), l.section(QLatin1Char(' '), 2, 2));
        else if (tipo == QLatin1String("compra"))
            c.compras << l.section(QLatin1Char(' '), 1, 1).toLongLong();
        else if (tipo == QLatin1String("cobro"))
            ++c.cobros;
        else if (tipo == QLatin1String("pago"))
            ++c.pagos;
        else if (tipo == QLatin1String("pulsaciones"))
            c.pulsaciones += l.section(QLatin1Char(' '), 1, 1).toInt();
        else if (tipo == QLatin1String("singuardar"))
            ++c.sinGuardar[l.section(QLatin1Char(' '), 1, 1)];
        else if (tipo == QLatin1String("caja")) {
            const QString clase = l.section(QLatin1Char(' '), 1, 1);
            if (clase == QLatin1String("pregunta"))
                ++c.preguntas;
            else if (clase == QLatin1String("aviso"))
                ++c.avisos;
            else {
                ++c.errores;
                ++c.erroresPor[l.section(QLatin1Char(' '), 2, 2)];
                ++c.textos[l.section(QLatin1Char(' '), 3)];
            }
        }
    }
}

template <class T>
int Repetidos(const QList<T>& v)
{
    return int(v.size() - QSet<T>(v.begin(), v.end()).size());
}

// Each table's row count and checksum of every column (the invisible ones
// too), as one node holds them.
QStringList Sumas(const Lector& l)
{
    QStringList out;
    for (const char* tabla : {"ARTICULOS", "CLIENTES", "PROVEEDORES", "empresas", "usuarios", "Ventas", "Compras", "Detalles_FacVen",
                              "Detalles_FacCom", "Fact_xCobrar", "Fact_xPagar", "Kardex", "ncfs"}) {
        const QString t = QString::fromLatin1(tabla);
        // The count waits for the cluster's commits; the checksum does not.
        out << QStringLiteral("%1 %2 %3")
                   .arg(t)
                   .arg(l.entero("SELECT COUNT(*) FROM " + t))
                   .arg(l.filas("CHECKSUM TABLE " + t).value(0).value(1).toString());
    }
    return out;
}

int Correr(const QList<Nodo>& nodos, bool cluster, int puestos, int operaciones)
{
    // The store and what every workstation shares, on the first node.
    QString error;
    if (!tarvikdb::createMariaDbDatabase(nodos[0].host, nodos[0].port, QStringLiteral("root"), QString(), QString::fromLatin1(kBase),
                                         true, &error))
        Abortar(QStringLiteral("store not made on %1: %2").arg(Texto(nodos[0]), error));
    qputenv("TARVIK_MARIADB_HOST", nodos[0].host.toUtf8());
    qputenv("TARVIK_MARIADB_PORT", QByteArray::number(nodos[0].port));
    const teststore::Target t = Destino(nodos[0]);
    articulo(t, "C1", kInicial, 10, 10, 10, 0, 5);
    teststore::execRaw(t, "UPDATE ARTICULOS SET stock_maximo = 100000000");
    rango(t, "Consumidor final", "B01", 1, 10000000, 0);
    Compartidas(t);

    // Every node holds them before the first workstation starts.
    QList<std::shared_ptr<Lector>> lectores;
    for (int i = 0; i < nodos.size(); ++i) {
        lectores << std::make_shared<Lector>(nodos[i], i, cluster);
        if (lectores.last()->entero("SELECT COUNT(*) FROM Fact_xPagar") != 1)
            Abortar(QStringLiteral("node %1 does not hold the shared invoices").arg(i + 1));
    }
    const Lector& l = *lectores[0];

    std::printf("%s: %d workstations x %d operations%s\n", cluster ? "cluster" : "one server", puestos, operaciones,
                cluster ? qPrintable(QStringLiteral(", spread over %1 nodes").arg(nodos.size())) : "");
    const int n = int(nodos.size());
    for (int i = 0; i < n; ++i)
        std::printf("  node %d %s: %d workstations\n", i + 1, qPrintable(Texto(nodos[i])), (puestos - i + n - 1) / n);
    std::fflush(stdout);

    QElapsedTimer reloj;
    reloj.start();
    // Each workstation's account goes to a file: a full pipe would hold a
    // workstation back while another is waited for.
    QTemporaryDir cuentas;
    QList<QProcess*> hijos;
    for (int i = 0; i < puestos; ++i) {
        auto* p = new QProcess;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->setStandardOutputFile(cuentas.filePath(QString::number(i)));
        const Nodo& n = nodos[i % nodos.size()];
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--puesto"), n.host, QString::number(n.port), QString::number(operaciones)});
        hijos << p;
    }
    Contado c;
    int caidos = 0;
    for (int i = 0; i < hijos.size(); ++i) {
        QProcess* p = hijos[i];
        if (!p->waitForFinished(kEsperaMs)) {
            p->kill();
            p->waitForFinished();
        }
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0)
            ++caidos;
        delete p;
        QFile f(cuentas.filePath(QString::number(i)));
        if (f.open(QIODevice::ReadOnly))
            Leer(f.readAll(), c);
    }
    const double segundos = reloj.nsecsElapsed() / 1e9;

    const int total = puestos * operaciones;
    const int ventasPedidas = puestos * (operaciones / 5 * 2 + qMin(operaciones % 5, 2));
    const int comprasPedidas = puestos * (operaciones / 5 + (operaciones % 5 > 2 ? 1 : 0));
    const int cobrosPedidos = puestos * (operaciones / 5 + (operaciones % 5 > 3 ? 1 : 0));
    const int pagosPedidos = puestos * (operaciones / 5);
    std::printf(
        "  %.1f s, %.1f operations/s; %d presses for %d operations (%.2f a press per operation); %d workstations did not end well\n",
        segundos, total / segundos, c.pulsaciones, total, double(c.pulsaciones) / total, caidos);

    // Told stored against found stored (invoice 1 of each side and its first
    // payment were there before).
    QSet<qint64> ventasGuardadas, comprasGuardadas;
    QHash<qint64, QString> ncfGuardado;
    for (const QVariantList& r : l.filas("SELECT codigo_fac, ncf FROM Ventas WHERE codigo_fac > 1")) {
        ventasGuardadas.insert(r[0].toLongLong());
        ncfGuardado.insert(r[0].toLongLong(), r[1].toString());
    }
    for (const QVariantList& r : l.filas("SELECT codigo_fac FROM Compras WHERE codigo_fac > 1"))
        comprasGuardadas.insert(r[0].toLongLong());
    int ventasHalladas = 0, comprasHalladas = 0;
    for (const auto& v : c.ventas)
        ventasHalladas += ncfGuardado.contains(v.first) && ncfGuardado.value(v.first) == v.second ? 1 : 0;
    for (qint64 n : c.compras)
        comprasHalladas += comprasGuardadas.contains(n) ? 1 : 0;
    const int cobrosHallados = int(l.entero("SELECT COUNT(*) FROM Fact_xCobrar WHERE codigo_fac = 1")) - 1;
    const int pagosHallados = int(l.entero("SELECT COUNT(*) FROM Fact_xPagar WHERE codigo_fac = 1")) - 1;
    std::printf("  told stored / found stored / stored in all (asked):\n"
                "    sales     %6d / %6d / %6d (%d)\n    purchases %6d / %6d / %6d (%d)\n"
                "    receipts  %6d / %6d / %6d (%d)\n    payments  %6d / %6d / %6d (%d)\n",
                int(c.ventas.size()), ventasHalladas, int(ventasGuardadas.size()), ventasPedidas, int(c.compras.size()),
                comprasHalladas, int(comprasGuardadas.size()), comprasPedidas, c.cobros, cobrosHallados, cobrosHallados, cobrosPedidos,
                c.pagos, pagosHallados, pagosHallados, pagosPedidos);
    QStringList abandonos;
    for (auto it = c.sinGuardar.cbegin(); it != c.sinGuardar.cend(); ++it)
        abandonos << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    std::printf("  given up after %d presses: %s\n", kPulsaciones, abandonos.isEmpty() ? "none" : qPrintable(abandonos.join(", ")));

    QList<qint64> numerosDichos;
    QStringList ncfsDichos;
    for (const auto& v : c.ventas) {
        numerosDichos << v.first;
        ncfsDichos << v.second;
    }
    const qint64 ncfRepetidos = l.entero("SELECT COUNT(ncf) - COUNT(DISTINCT ncf) FROM Ventas WHERE ncf <> ''");
    std::printf("  duplicates: sale numbers told %d, purchase numbers told %d, NCFs told %d, NCFs stored %lld\n",
                Repetidos(numerosDichos), Repetidos(c.compras), Repetidos(ncfsDichos), ncfRepetidos);

    const qint64 conNcf = l.entero("SELECT COUNT(*) FROM Ventas WHERE ncf <> ''");
    const qint64 consecutivoNcf = l.entero("SELECT consecutivo FROM ncfs");
    const QString ultimoNcf = l.valor("SELECT MAX(ncf) FROM Ventas").toString();
    const qint64 cv = l.entero("SELECT consecutivo_venta FROM empresas WHERE codigo_emp = 1");
    const qint64 cc = l.entero("SELECT consecutivo_compra FROM empresas WHERE codigo_emp = 1");
    const qint64 mv = l.entero("SELECT MAX(codigo_fac) FROM Ventas"), mc = l.entero("SELECT MAX(codigo_fac) FROM Compras");
    const bool contadores =
        consecutivoNcf == conNcf && ultimoNcf == TextoNCF(QStringLiteral("B01"), double(conNcf)) && cv == mv && cc == mc;
    std::printf(
        "  counters: NCF range at %lld for %lld sales with NCF (last %s); sale number %lld, highest %lld; purchase number %lld, "
        "highest %lld: %s\n",
        consecutivoNcf, conNcf, qPrintable(ultimoNcf), cv, mv, cc, mc, contadores ? "right" : "WRONG");

    const qint64 stock = l.entero("SELECT cantidad FROM ARTICULOS WHERE codigo_art = 'C1'");
    const qint64 porLineas = kInicial - l.entero("SELECT COALESCE(SUM(cantidad), 0) FROM Detalles_FacVen")
                             + l.entero("SELECT COALESCE(SUM(cantidad), 0) FROM Detalles_FacCom");
    qint64 porKardex = kInicial;
    for (const QVariantList& r : l.filas("SELECT unidades_entrantes, unidades_salientes FROM Kardex"))
        porKardex += r[0].toLongLong() - r[1].toLongLong();
    const qint64 lineas = l.entero("SELECT COUNT(*) FROM Detalles_FacVen") + l.entero("SELECT COUNT(*) FROM Detalles_FacCom");
    const qint64 kardex = l.entero("SELECT COUNT(*) FROM Kardex");
    const bool existencias =
        stock == porLineas && stock == porKardex && lineas == kardex && lineas == ventasGuardadas.size() + comprasGuardadas.size();
    std::printf("  stock %lld, by the lines %lld, by the stock card %lld; %lld lines, %lld stock card rows: %s\n", stock, porLineas,
                porKardex, lineas, kardex, existencias ? "exact" : "WRONG");

    int inexactos = 0;
    const int descuadres = Descuadres(l, "Ventas", "Fact_xCobrar", inexactos) + Descuadres(l, "Compras", "Fact_xPagar", inexactos);
    const qint64 cobrado = Centavos(l.valor("SELECT abono FROM Ventas WHERE codigo_fac = 1"), inexactos);
    const qint64 pagado = Centavos(l.valor("SELECT abono FROM Compras WHERE codigo_fac = 1"), inexactos);
    std::printf("  balances: %d invoices that do not add up, %d amounts not in whole cents; shared sale paid %lld cents (%lld "
                "expected), shared purchase %lld (%lld)\n",
                descuadres, inexactos, cobrado, qint64(cobrosHallados) * 111, pagado, qint64(pagosHallados) * 222);
    QStringList numeros;
    for (const char* tabla : {"Fact_xCobrar", "Fact_xPagar"}) {
        const qint64 n = l.entero(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE codigo_fac = 1").arg(tabla));
        const qint64 distintos = l.entero(QStringLiteral("SELECT COUNT(DISTINCT num_abono) FROM %1 WHERE codigo_fac = 1").arg(tabla));
        const qint64 mayor = l.entero(QStringLiteral("SELECT MAX(num_abono) FROM %1 WHERE codigo_fac = 1").arg(tabla));
        numeros << QStringLiteral("%1 %2 rows numbered 1 to %3%4")
                       .arg(tabla)
                       .arg(n)
                       .arg(mayor)
                       .arg(distintos == n && mayor == n ? "" : " (GAPS)");
    }
    std::printf("  payments on the shared invoices: %s\n", qPrintable(numeros.join(", ")));

    if (cluster) {
        const QStringList primero = Sumas(l);
        QStringList distintos;
        for (int i = 1; i < lectores.size(); ++i)
            if (Sumas(*lectores[i]) != primero)
                distintos << QString::number(i + 1);
        std::printf("  nodes: %s\n", distintos.isEmpty() ? "the three hold identical rows in every table"
                                                         : qPrintable("node(s) " + distintos.join(", ") + " DIFFER from node 1"));
    } else {
        std::printf("  nodes: one server, nothing to compare\n");
    }

    const int cajas = c.preguntas + c.avisos + c.errores;
    std::printf("  boxes shown: %d (%d questions asked on every such operation, %d notices of a number taken by another "
                "workstation, %d for failures)\n"
                "  failure boxes: %.1f per 1,000 operations; every box but the questions: %.1f per 1,000 operations\n",
                cajas, c.preguntas, c.avisos, c.errores, 1000.0 * c.errores / total, 1000.0 * (c.avisos + c.errores) / total);
    QStringList porOperacion;
    for (auto it = c.erroresPor.cbegin(); it != c.erroresPor.cend(); ++it)
        porOperacion << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    if (!porOperacion.isEmpty())
        std::printf("  failure boxes by operation: %s\n", qPrintable(porOperacion.join(QStringLiteral(", "))));
    QList<QPair<int, QString>> porCuenta;
    for (auto it = c.textos.cbegin(); it != c.textos.cend(); ++it)
        porCuenta << qMakePair(it.value(), it.key());
    std::sort(porCuenta.begin(), porCuenta.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int i = 0; i < qMin(5, int(porCuenta.size())); ++i)
        std::printf("    %5d x %s\n", porCuenta[i].first, qPrintable(porCuenta[i].second));
    return 0;
}

Nodo LeerNodo(const QString& texto)
{
    const int dos = texto.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = texto.mid(dos + 1).toInt(&ok);
    if (dos <= 0 || !ok || port <= 0)
        Abortar(QStringLiteral("not HOST:PORT: ") + texto);
    return {texto.left(dos), port};
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--puesto"))
        return Puesto(args);

    QList<Nodo> nodos;
    const bool servidor = args.value(1) == QLatin1String("--server");
    if (servidor) {
        nodos << LeerNodo(args.value(2));
        args.remove(1, 2);
    } else {
        for (int i = 1; i <= 3; ++i) {
            const QString host = qEnvironmentVariable(qPrintable(QStringLiteral("TARVIK_GALERA_HOST%1").arg(i)));
            const int port = qEnvironmentVariableIntValue(qPrintable(QStringLiteral("TARVIK_GALERA_PORT%1").arg(i)));
            if (host.isEmpty() || port <= 0)
                Abortar(
                    QStringLiteral("no cluster: run eval \"$(bash scripts/galera-test.sh start)\" first, or give --server HOST:PORT"));
            nodos << Nodo{host, port};
        }
    }
    bool ok1 = true, ok2 = true;
    const int puestos = args.size() > 1 ? args.value(1).toInt(&ok1) : 9;
    const int operaciones = args.size() > 2 ? args.value(2).toInt(&ok2) : 100;
    if (!ok1 || !ok2 || puestos < 1 || operaciones < 1)
        Abortar(QStringLiteral("usage: bench_galera_soak [--server HOST:PORT] [WORKSTATIONS [OPERATIONS]]"));
    return Correr(nodos, !servidor, puestos, operaciones);
}
