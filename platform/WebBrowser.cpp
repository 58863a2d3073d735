#include "WebBrowser.h"

#include "FileDialog.h"
#include "ReportView.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

namespace webtest {
namespace {
struct State {
    bool on = false;
    std::function<QString(const Call&)> saveAs;
    QString pdf;
    QVector<Call> calls;
};
State& state()
{
    static State s;
    return s;
}
}  // namespace

void install(std::function<QString(const Call&)> saveAs, const QString& pdf)
{
    State& s = state();
    s.on = true;
    s.saveAs = std::move(saveAs);
    s.pdf = pdf;
    s.calls.clear();
}
void uninstall() { state() = State(); }
bool installed() { return state().on; }
const QVector<Call>& calls() { return state().calls; }
void clear() { state().calls.clear(); }

}  // namespace webtest

WebBrowser::WebBrowser(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("WebBrowser"));
    setOpenLinks(false);
}

WebBrowser::~WebBrowser() = default;

QPrinter& WebBrowser::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

// Opens the file at path as the page shown; when it cannot be read the
// view is emptied and shows no page.
void WebBrowser::openPage(const QString& path)
{
    page_.close();
    page_.setFileName(path);
    if (page_.open(QIODevice::ReadOnly)) {
        location_ = path;
        return;
    }
    clear();
    if (rows_)
        rows_->setPage(ReportPage());
    location_.clear();
}

void WebBrowser::Navigate(const QString& path)
{
    openPage(path);
    if (location_.isEmpty())
        return;
    const QByteArray bytes = page_.readAll();
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/')));
    // Pages take the legacy colour form bgcolor=BBBBBB (hex without "#").
    static const QRegularExpression bareHex(QStringLiteral("(bgcolor\\s*=\\s*['\"]?)([0-9A-Fa-f]{6})\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString html = QString::fromLatin1(bytes);
    html.replace(bareHex, QStringLiteral("\\1#\\2"));
    setHtml(pageFilter_ ? pageFilter_(html) : html);
}

void WebBrowser::Navigate(const QString& path, ReportPage page)
{
    ShowRowsFast();
    openPage(path);
    if (!location_.isEmpty())
        rows_->setPage(std::move(page));
}

void WebBrowser::ShowRowsFast()
{
    if (rows_)
        return;
    rows_ = new ReportView(this);
    rows_->setGeometry(rect());
    setFocusProxy(rows_);
    rows_->show();
}

QString WebBrowser::PageText() const { return rows_ ? rows_->plainText() : toPlainText(); }

void WebBrowser::resizeEvent(QResizeEvent* e)
{
    QTextBrowser::resizeEvent(e);
    if (rows_)
        rows_->setGeometry(rect());
}

void WebBrowser::printPage(QPrinter& p)
{
    if (rows_)
        rows_->print(p);
    else
        document()->print(&p);
}

void WebBrowser::PageSetup()
{
    if (webtest::installed()) {
        webtest::state().calls.append({QStringLiteral("PageSetup"), true, location_});
        return;
    }
    QPageSetupDialog dlg(&printer(), this);
    dlg.exec();
}

// The page shown, not the file now at its path: the kept file is the one
// that was shown, whatever later runs put in its place.
bool WebBrowser::savePage(const QString& to)
{
    if (location_.isEmpty() || to.isEmpty() || !page_.seek(0))
        return false;
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    while (!(chunk = page_.read(1 << 20)).isEmpty())
        if (out.write(chunk) != chunk.size())
            return false;
    return page_.error() == QFileDevice::NoError && out.commit();
}

void WebBrowser::SaveAs()
{
    if (webtest::installed()) {
        webtest::Call c{QStringLiteral("SaveAs"), true, location_};
        webtest::state().calls.append(c);
        if (webtest::state().saveAs)
            savePage(webtest::state().saveAs(c));
        return;
    }
    if (location_.isEmpty())
        return;
    QFileDialog d(this, QStringLiteral("Guardar como"), QFileInfo(location_).fileName(),
                  QStringLiteral("Página web (*.htm *.html);;Todos los archivos (*)"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    PrepararDialogoArchivos(d);
    if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty())
        savePage(d.selectedFiles().first());
}

void WebBrowser::Print(bool prompt)
{
    if (webtest::installed()) {
        webtest::state().calls.append({QStringLiteral("Print"), prompt, location_});
        const QString pdf = webtest::state().pdf;
        if (!pdf.isEmpty() && !location_.isEmpty()) {
            QPrinter p(QPrinter::HighResolution);
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            printPage(p);
        }
        return;
    }
    if (location_.isEmpty())
        return;
    QPrinter& p = printer();
    if (prompt) {
        QPrintDialog dlg(&p, this);
        if (dlg.exec() != QDialog::Accepted)
            return;
    } else {
        const QPrinterInfo def = QPrinterInfo::defaultPrinter();
        if (def.isNull())
            return;
        p.setOutputFormat(QPrinter::NativeFormat);
        p.setPrinterName(def.printerName());
    }
    printPage(p);
}
