#include "FileDialog.h"

#include "AppPath.h"

#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMimeDatabase>
#include <QPointer>
#include <QScrollBar>
#include <QTreeView>

namespace {

enum Columna { Nombre, Tamano, Tipo, Modificado };

const QString kFormatoFecha = QStringLiteral("d MMM yyyy HH:mm");

// The file list as the dialog's model gives it, with its dates and folder
// type in the default locale.
class EnElIdioma : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& i, int role) const override
    {
        const auto* archivos = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role == Qt::DisplayRole && archivos) {
            const QModelIndex fuente = mapToSource(i);
            if (i.column() == Modificado)
                return QLocale().toString(archivos->lastModified(fuente), kFormatoFecha);
            if (i.column() == Tipo && archivos->isDir(fuente))
                return QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
        }
        return QIdentityProxyModel::data(i, role);
    }
};

int anchoColumna(const QTreeView* vista, const QStringList& textos)
{
    const QFontMetrics fm(vista->font());
    const QFontMetrics titulo(vista->header()->font());
    const int margen = 2 * vista->header()->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, vista->header());
    int w = titulo.horizontalAdvance(textos.first()) + margen;
    for (const QString& t : textos.mid(1))
        w = qMax(w, fm.horizontalAdvance(t) + margen);
    return w;
}

// Once the dialog is laid out, it grows until the last column ends in sight
// (the header would rather shrink that column to the list's width).
class AnchoDeColumnas : public QObject {
public:
    AnchoDeColumnas(QTreeView* vista, int columnas, QObject* parent) : QObject(parent), vista_(vista), columnas_(columnas) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && vista_) {
            auto* d = static_cast<QWidget*>(o);
            const int falta = columnas_ + 2 * vista_->frameWidth() + vista_->verticalScrollBar()->sizeHint().width() - vista_->width();
            if (falta > 0)
                d->resize(d->width() + falta, d->height());
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QTreeView> vista_;
    int columnas_;
};

}  // namespace

void PrepararDialogoArchivos(QFileDialog& d)
{
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setViewMode(QFileDialog::Detail);
    d.setProxyModel(new EnElIdioma(&d));
    auto* vista = d.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!vista || !vista->model())
        return;
    const QAbstractItemModel* m = vista->model();
    QHeaderView* h = vista->header();
    auto titulo = [m](int c) { return m->headerData(c, Qt::Horizontal).toString(); };
    QStringList fechas{titulo(Modificado)};
    for (int mes = 1; mes <= 12; ++mes)
        fechas << QLocale().toString(QDateTime(QDate(2000, mes, 28), QTime(23, 59)), kFormatoFecha);
    QStringList tipos{titulo(Tipo), QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment()};
    for (const char* imagen : {"image/png", "image/jpeg", "image/gif", "image/bmp"})
        tipos << QMimeDatabase().mimeTypeForName(QLatin1String(imagen)).comment();
    h->resizeSection(Tamano, qMax(h->sectionSize(Tamano), anchoColumna(vista, {titulo(Tamano)})));
    h->resizeSection(Tipo, anchoColumna(vista, tipos));
    const int fecha = anchoColumna(vista, fechas);
    h->resizeSection(Modificado, fecha);
    const int columnas = h->sectionSize(Nombre) + h->sectionSize(Tamano) + h->sectionSize(Tipo) + fecha;
    d.installEventFilter(new AnchoDeColumnas(vista, columnas, &d));
}

static std::function<QString(const QString&)>& responder()
{
    static std::function<QString(const QString&)> r;
    return r;
}

void CommonDialog::setResponderForTest(std::function<QString(const QString&)> r) { responder() = std::move(r); }

void CommonDialog::ShowOpen(QWidget* parent)
{
    QString chosen;
    if (responder()) {
        chosen = responder()(InitDir);
    } else {
        // A folder that is missing would open the current one with its name
        // typed as the file's.
        QFileDialog d(parent, QStringLiteral("Abrir"), QFileInfo(InitDir).isDir() ? InitDir : AppPath());
        d.setFileMode(QFileDialog::ExistingFile);
        PrepararDialogoArchivos(d);
        if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty())
            chosen = d.selectedFiles().first();
    }
    if (chosen.isEmpty())
        return;
    FileName = QFileInfo(chosen).absoluteFilePath();
}
