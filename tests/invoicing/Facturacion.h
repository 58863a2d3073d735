// Fixtures of the invoicing tests at the windows: a cash-dialog responder,
// a new invoice window as the lists open it, a child process's insistent
// apply, a workstation's sign-in, sale, purchase and payment on the
// invoices every workstation shares, store writes that fail (one, or each
// in turn), and a pole display on a pseudo-terminal. The store's fixtures
// are in Facturas.h.
#pragma once

#include "Facturas.h"

#include "ListView.h"
#include "Escrituras.h"
#include "Factura.h"
#include "Procesos.h"
#include "Prueba.h"
#include "SerialPort.h"
#include "TestStore.h"
#include "fCompras.h"
#include "fCuentaBase.h"
#include "fRecibirDinero.h"
#include "fVentas.h"
#include "mSubRutinas_facturas.h"
#include "mVblesGlobales.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cmath>
#include <cstdio>
#include <functional>
#include <fcntl.h>
#include <memory>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace fac {

// The cash dialog answered with the amount due (or efectivo) and closed.
inline void pagarCon(const QString& efectivo = QString())
{
    fRecibirDinero::alMostrar = [efectivo](fRecibirDinero& d) {
        d.tEfectivo->setText(efectivo.isEmpty() ? d.tTotal->text() : efectivo);
        d.tEfectivo_LostFocus();
        d.bCerrar->click();
    };
}

// A test whose sales are paid by pagarCon() unless it answers the cash
// dialog itself; the answer goes with the test.
class PruebaConCobro : public Prueba {
    Q_OBJECT
protected slots:
    void init()
    {
        Prueba::init();
        pagarCon();
    }
    void cleanup()
    {
        fRecibirDinero::alMostrar = {};
        Prueba::cleanup();
    }
};

// The same, counting the dialogs shown in cobros; mientras runs while the
// cash is counted.
inline void pagarContando(int& cobros, std::function<void()> mientras = {})
{
    fRecibirDinero::alMostrar = [&cobros, mientras](fRecibirDinero& d) {
        ++cobros;
        if (mientras)
            mientras();
        d.tEfectivo->setText(d.tTotal->text());
        d.tEfectivo_LostFocus();
        d.bCerrar->click();
    };
}

// One line entered by hand: "Adicionar", code, quantity, price level
// (0-based item of the unit-value box), "Actualizar".
inline void linea(fVentas& w, const QString& codigo, const QString& cantidad = QStringLiteral("1"), int nivel = 0)
{
    w.bAdicionarArticulo->click();
    w.txtDetalle[1]->setEditText(codigo);
    w.txtDetalle[2]->setEditText(cantidad);
    if (nivel > 0)
        w.txtDetalle[3]->setCurrentIndex(nivel);
    w.bActualizarArticulo->click();
}

inline void elegirNcf(fVentas& w, int indice)
{
    w.ComboNcf->setCurrentIndex(indice);
    w.ComboNcf_Click();
}

inline QString caja(fFacturaBase& w, int i) { return BoxText(w.txt[i]); }
inline void escribir(fFacturaBase& w, int i, const QString& texto) { SetBoxText(w.txt[i], texto); }

// A new invoice on the company's next number, as its list opens it (modo is
// the shared value of the window's mode).
template <class Ventana>
std::unique_ptr<Ventana> nueva(qint32& modo)
{
    auto w = std::make_unique<Ventana>();
    modo = 2;
    gModoDetalle = 3;
    w->AbrirNueva();
    return w;
}

// In a child process, once its line is in the boxes: the line and then the
// apply are tried again as a clerk would while another process holds the
// number; antesDeAplicar runs before each apply. 0 once stored; else the
// messages shown go to stderr and the result is 2 (no line) or 3 (not
// stored).
inline int AplicarInsistiendo(fFacturaBase& w, const std::function<void()>& antesDeAplicar = {})
{
    // Another process took the number: the line waits for the next one.
    for (int intento = 0; intento < 400 && w.lvwFactura->count() == 0; ++intento)
        w.bActualizarArticulo_Click();
    if (w.lvwFactura->count() != 1) {
        fprintf(stderr, "%s\n", qPrintable(msgtest::texts().join(QStringLiteral(" | "))));
        return 2;
    }
    bool aplicada = false;
    for (int intento = 0; intento < 400 && !aplicada; ++intento) {
        if (antesDeAplicar)
            antesDeAplicar();
        aplicada = w.bAplicar_Click();
    }
    if (!aplicada) {
        fprintf(stderr, "%s\n", qPrintable(msgtest::texts().join(QStringLiteral(" | "))));
        return 3;
    }
    return 0;
}

// A workstation's child process on t, signed in: the used-number question
// is answered No, so each apply goes on at once, the others Yes; the cash
// dialog takes the amount due.
inline void abrirPuesto(const teststore::Target& t)
{
    msgtest::install([](const msgtest::Call& c) {
        return c.text.startsWith(QStringLiteral("El número de factura ")) ? MsgResult::No : MsgResult::Yes;
    });
    teststore::openOn(Conexion(), t);
    firmar();
    pagarCon();
}

// The workstations' sale, ready to apply: one C1 on the first NCF range,
// paid in full or, on credit, with 3.33.
inline std::unique_ptr<fVentas> ventaDePuesto(bool credito)
{
    auto w = nueva<fVentas>(gModoFormulario);
    linea(*w, QStringLiteral("C1"));
    elegirNcf(*w, 1);
    escribir(*w, 7, credito ? QStringLiteral("3.33") : caja(*w, 9));
    return w;
}

// The workstations' purchase, ready to apply: one C1 paid in full.
inline std::unique_ptr<fCompras> compraDePuesto()
{
    auto w = nueva<fCompras>(gModoCompras);
    w->bAdicionarArticulo->click();
    w->txtDetalle[1]->setEditText(QStringLiteral("C1"));
    w->txtDetalle[2]->setEditText(QStringLiteral("1"));
    w->bActualizarArticulo->click();
    escribir(*w, 7, caja(*w, 9));
    return w;
}

// Invoice 1 of each side, open, for the payments of every workstation.
inline void Compartidas(const teststore::Target& t)
{
    for (const char* lado : {"Ventas (codigo_fac, codigo_cli", "Compras (codigo_fac, codigo_prov"})
        teststore::execRaw(t, QString("INSERT INTO %1, fecha, forma_pago, valor_neto, impuesto_total, descuento, abono, saldo, "
                                      "total, notas, Estado, fecha_vencimiento, codigo_emp, codigo_usu, ncf) VALUES (1, '0', "
                                      "'2026-01-05', 'CREDITO', 100000, 0, 0, 0, 100000, 100000, '', 'Sin Cancelar', "
                                      "'2026-01-05', 1, '1', '')")
                                  .arg(lado));
    for (const char* tabla : {"Fact_xCobrar", "Fact_xPagar"})
        teststore::execRaw(t, QString("INSERT INTO %1 (codigo_fac, num_abono, valor_abono, fecha_abono, codigo_emp) "
                                      "VALUES (1, 1, 0, '2026-01-05', 1)")
                                  .arg(tabla));
    teststore::execRaw(t, "UPDATE empresas SET consecutivo_venta = 1, consecutivo_compra = 1 WHERE codigo_emp = 1");
}

// A payment of valor on invoice 1 of party 0, chosen in the window.
inline bool Abonar(fCuentaBase& c, const QString& valor)
{
    c.tCodigo->setText(QString());
    c.tCodigo->setText("0");
    for (int i = 1; i <= c.lvwFacturas->count(); ++i)
        if (c.lvwFacturas->text(i) == "1") {
            c.lvwFacturas->select(i);
            c.lvwFacturas_Click();
            c.txt[4]->setText("15/03/2026");
            c.txtFecha_vencimiento->setText("15/04/2026");
            c.txt[2]->setText(valor);
            c.bAdicionarAbono->click();
            return true;
        }
    return false;
}

// Annulments answered: no more notes, yes to the rest.
inline MsgResult noAnotar(const msgtest::Call& c)
{
    return c.text.startsWith(QStringLiteral("Desea Digitar")) ? MsgResult::No : MsgResult::Yes;
}

using escrituras::FalloEnEscritura;

// The apply with its k-th store write failing, for k = 1, 2, ... until one
// gets through: each failed apply must leave the store as antes (volcar reads
// it back), report error and keep the window on a new invoice. escrituras
// gets the writes of the apply that got through.
inline void AplicarFallandoCadaEscritura(fFacturaBase& w, const std::function<QStringList()>& volcar, const QStringList& antes,
                                         const QString& error, int& escrituras)
{
    escrituras = 0;
    for (int k = 1; k < 30; ++k) {
        FalloEnEscritura fallo(k);
        msgtest::clear();
        if (w.bAplicar_Click()) {
            escrituras = k - 1;
            return;
        }
        QVERIFY2(volcar() == antes, qPrintable(QStringLiteral("escritura %1").arg(k)));
        QCOMPARE(msgtest::texts().last(), error);
        QVERIFY(msgtest::texts().contains(QStringLiteral("Error inesperado N° 3000. fallo de escritura simulado")));
        QVERIFY(w.bAplicar->isEnabled());
        QVERIFY(w.bAceptar->isEnabled());
        QVERIFY(w.bAnular->isHidden());
        QCOMPARE(BoxText(w.txt[11]), QStringLiteral("Nuevo"));
    }
}

// A pseudo-terminal standing for the display on port COM<puerto>.
struct Pantalla {
    int maestro = -1, esclavo = -1;
    QString com;
    explicit Pantalla(const QString& puerto = QStringLiteral("7")) : com(QStringLiteral("COM") + puerto)
    {
        char nombre[256] = {};
        if (openpty(&maestro, &esclavo, nombre, nullptr, nullptr) != 0)
            qFatal("openpty");
        // The far side translates line ends unless the port is opened raw.
        termios tio;
        tcgetattr(esclavo, &tio);
        tio.c_oflag |= OPOST | ONLCR;
        tcsetattr(esclavo, TCSANOW, &tio);
        fcntl(maestro, F_SETFL, O_NONBLOCK);
        serialport::SetPortOverrideForTest(com, QString::fromLocal8Bit(nombre));
        gPuertoCOM = puerto;
    }
    ~Pantalla()
    {
        serialport::SetPortOverrideForTest(com, QString());
        close(esclavo);
        close(maestro);
    }
    QByteArray leer()
    {
        QByteArray out;
        char buf[512];
        for (int vacias = 0; vacias < 5;) {
            const ssize_t n = read(maestro, buf, sizeof buf);
            if (n > 0) {
                out.append(buf, int(n));
                vacias = 0;
            } else {
                ++vacias;
                QTest::qWait(10);
            }
        }
        return out;
    }
};

}  // namespace fac
