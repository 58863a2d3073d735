// A month grid that a date box shows on demand.
#pragma once

#include <QCalendarWidget>
#include <QDate>

class MonthView : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthView(QWidget* parent = nullptr);  // hidden until shown

    QDate value() const { return selectedDate(); }
    void setValue(const QDate& d) { setSelectedDate(d); }

signals:
    // The user picked a day (mouse click, or Enter on the grid).
    void dateClick(const QDate& date);
};
