// What the three period report windows share: the period's two locked date
// boxes with their calendars, the state list and "Buscar". Loading the
// window runs the report of today in the state "SIN CANCELAR".
#pragma once

#include "fReporteBase.h"

#include <QDate>

class MonthView;
class QComboBox;
class QLabel;
class QLineEdit;

class frmRepBase : public fReporteBase {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QLineEdit* fecha1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* fecha2 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* ComboEstado = nullptr;
    QPushButton* Command1 = nullptr;
    MonthView* Calendario = nullptr;
    MonthView* Calendario2 = nullptr;

    // Builds the report of [desde, hasta] in the chosen state and shows it;
    // every failure is shown here and leaves the page shown before.
    virtual void InicializarReporte(const QDate& desde, const QDate& hasta) = 0;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Calendario_DateClick();
    void Calendario2_DateClick();

    // The chosen state, as the list shows it.
    QString EstadoElegido() const;

protected:
    // top: the row of the period controls; the other places follow it.
    frmRepBase(const QString& nombre, const QString& caption, int ancho, int alto, int top, int calendarTop, int webTop, int botonesTop);

    // Places the period's row at top (twips) so that every caption shows.
    void ColocarPeriodo(int top);
    // Refuses a period whose ends are not dates; true when refused.
    static bool RechazarPeriodo(const QDate& desde, const QDate& hasta);
    // The "#MM/dd/yyyy#" literal of a date.
    static QString LiteralFecha(const QDate& d);

    // The sales or purchases report: the same procedure over two tables.
    struct Informe {
        QString tabla;         // "ventas" / "compras"
        QString archivo;       // "ReporteVentas.htm"
        QString nombre;        // "REPORTE DE VENTAS"
        QString etiquetaEstado;
    };
    void InformeFacturas(const QDate& desde, const QDate& hasta, const Informe& informe);
};
