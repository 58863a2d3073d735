// What every report shares: its file under "Reportes", the text written into
// it, the money format, and the hooks into the main window and the sales
// invoice window.
#pragma once

#include <QSaveFile>
#include <QString>
#include <functional>

namespace ado {
class Recordset;
}
class QColor;
class ReportPage;

// The head every report starts with.
extern const QString kCabeceraReporte;
// The foot every period report ends with: the program, and no web address.
extern const QString kPieReporte;

// One report file, written anew on every run: single-byte text, one line,
// no byte-order mark. The new text goes to a file beside the old one, which
// it replaces only once it is whole: a run that fails or is cut short
// leaves the previous report as it was. Failures come as ado::Error (76
// when the folder cannot be made, 75 for the file itself) for the caller's
// trap.
class ArchivoReporte {
public:
    explicit ArchivoReporte(const QString& nombre);  // "ReporteVentas.htm"
    // An unfinished file is dropped.
    ~ArchivoReporte();
    ArchivoReporte(const ArchivoReporte&) = delete;
    ArchivoReporte& operator=(const ArchivoReporte&) = delete;

    QString ruta() const { return ruta_; }
    // Starts the new file, making the folder when it is missing.
    void Crear();
    // A literal piece, or values already passed through Html().
    void Escribir(const QString& pieza);
    void Escribir(QStringView pieza);
    void Escribir(QLatin1StringView pieza);
    // The new file takes the place of the old one.
    void Cerrar();
    // Drops the new file; the old one stays.
    void Descartar();

private:
    void vaciar();
    [[noreturn]] void fallar() const;
    QString ruta_;
    QSaveFile file_;
    QByteArray pendiente_;  // written in large pieces: a report has many rows
};

// Writes f in one go: Crear, cuerpo's pieces, Cerrar. A failure drops the
// new file and gets the error check's message; false then. cuerpo returns
// false when it gave up after showing its own message.
bool EscribirReporte(ArchivoReporte& f, const std::function<bool()>& cuerpo);

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
double Monto(ado::Recordset& rs, int columna);
// The index of a column of rs, for the rows of a long report; a name rs
// lacks fails as Fields() does.
int Columna(ado::Recordset& rs, const QString& nombre);

// An invoice number goes into the previews' statements unquoted, so only
// digits pass; anything else gets the error check's message (error 13) and
// true.
bool RechazarNumeroFactura(const QString& numero);

// The background of a report's row n (from 0): grey, then white, by turns;
// as the file writes it and as the view paints it.
QString ColorDeFila(int n);
QColor ColorDePagina(int n);

// What the view shows of a period report's head: the company's name, the
// title ("REPORTE DE VENTAS (01/09/2010 - 30/09/2010)") and the state; and
// of its foot.
void EncabezarPagina(ReportPage& pagina, const QString& titulo, const QString& estado);
void CerrarPagina(ReportPage& pagina);

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
