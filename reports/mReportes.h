// What every report shares: its file under "Reportes", the text written into
// it, the money format, and the hooks into the main window and the sales
// invoice window.
#pragma once

#include <QFile>
#include <QString>
#include <functional>

namespace ado {
class Recordset;
}

// The head every report starts with.
extern const QString kCabeceraReporte;

// One report file, deleted and written anew on every run: single-byte text,
// one line, no byte-order mark. Failures come as ado::Error (76 when the
// folder cannot be made, 75 for the file itself) for the caller's trap.
class ArchivoReporte {
public:
    explicit ArchivoReporte(const QString& nombre);  // "ReporteVentas.htm"
    ~ArchivoReporte();
    ArchivoReporte(const ArchivoReporte&) = delete;
    ArchivoReporte& operator=(const ArchivoReporte&) = delete;

    QString ruta() const { return ruta_; }
    // Removes the old file and creates the new one, making the folder when
    // it is missing.
    void Crear();
    // A literal piece, or values already passed through Html().
    void Escribir(const QString& pieza);
    void Cerrar();

private:
    bool vaciar();
    QString ruta_;
    QFile file_;
    QByteArray pendiente_;  // written in large pieces: a report has many rows
};

// Writes f in one go: Crear, cuerpo's pieces, Cerrar. A failure closes the
// file and gets the error check's message; false then.
bool EscribirReporte(ArchivoReporte& f, const std::function<void()>& cuerpo);

// The folder of the report files.
QString CarpetaReportes();

// Text from the store or the sign-in values as page text: markup characters
// escaped, characters outside the single-byte code page as numeric
// references, so that any name shows as typed.
QString Html(const QString& texto);
// A column of the current row in its plain text form, escaped; Null gives "".
QString Valor(ado::Recordset& rs, const QString& columna);
// A money column; Null stops the report (error 94).
double Monto(ado::Recordset& rs, const QString& columna);

// An amount in cents as "#,##0.00" shows it (halves away from zero), so that
// a column total is the sum of the amounts printed above it.
qint64 Centavos(double valor);
// "#,##0.00" of an amount in cents: "1,200.50", "0.00", "-16.00".
QString FormatoDinero(qint64 centavos);

// An invoice number goes into the previews' statements unquoted, so only
// digits pass; anything else gets the error check's message (error 13) and
// true.
bool RechazarNumeroFactura(const QString& numero);

// The background of a report's row n (from 0): grey, then white, by turns.
QString ColorDeFila(int n);

// Opens gRecordset on seleccion (the columns) over the session company's
// sales invoice numero joined with its client and lines, one row a line.
bool AbrirVentaConDetalle(const QString& seleccion, const QString& numero);

// The openers of the five report windows.
void AbrirVistaFactura(const QString& numero);
void AbrirVistaRecibo(const QString& numero);
void AbrirRepVentas();
void AbrirRepCompras();
void AbrirRepImpuestos();

// Hooks the "Reportes" items of the main window (rep_ventas, rep_compras,
// rep_itbis) and the two preview buttons of the sales invoice window. Once,
// at start.
void RegistrarMenusReportes();
