// List procedures shared by the list, search, stock-card and invoice windows.
#pragma once

#include <QString>
#include <QtGlobal>

class ListView;
class QStatusBar;
class QWidget;

// The status text is the status bar's first panel (StatusBar.h).

// Runs sql and puts its rows in the list: column 0 is the item text, the
// other columns its sub-items in statement order (Null shows as ""). The
// status text becomes "N elemento(s) encontrado(s)", or "" when there is no
// row. A failed query (its message already shown) leaves list and status as
// they were. The first row is selected afterwards. On return gRecordset is
// past its last row and gIndice is the row count + 1. Errors other than the
// query's own reach the caller as ado::Error.
void LlenarListView(const QString& sql, ListView* lvw, QStatusBar* sb);

// Deletes the first row that sql selects and then removes list item indice
// (from 1). When nothing was deleted the item stays; an error shows the error
// check's message and then "Error en rutina EliminarDeListViewAdm en el módulo
// 'mSubRutinas'". The status count is not changed. Callers ask their own
// confirmation first.
void EliminarDeListViewAdm(ListView* lvw, int indice, const QString& sql);

// Resize rule of a window made of a list view above a status bar, for its
// resize handler: the status panel follows the window's width; a window
// smaller than 8950 x 3750 twips springs back to that size (not when
// minimised); the list gets the window's width - 150 and its height - list
// top - status bar height - 700 twips. A list placed by a layout is left to
// the layout. window may be a child in the main window's workspace.
void AjustarFormulario(QStatusBar* sb, QWidget* window, ListView* lvw);
