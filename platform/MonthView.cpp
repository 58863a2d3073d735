#include "MonthView.h"

MonthView::MonthView(QWidget* parent) : QCalendarWidget(parent)
{
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    hide();
    connect(this, &QCalendarWidget::clicked, this, [this](QDate d) { emit dateClick(d); });
    // Enter on the grid picks the day under the cursor.
    connect(this, &QCalendarWidget::activated, this, [this](QDate d) { emit dateClick(d); });
}
