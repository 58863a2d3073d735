// The HTML view of the report windows: shows a report file and runs page
// setup, save-as and printing on the page shown. Nothing comes back to the
// caller from the commands; a cancelled dialog or a missing page or printer
// does nothing.
#pragma once

#include <QFile>
#include <QString>
#include <QTextBrowser>
#include <QVector>
#include <functional>
#include <memory>

class QPrinter;
class ReportPage;
class ReportView;

class WebBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit WebBrowser(QWidget* parent = nullptr);
    ~WebBrowser() override;

    // Loads the file at path. Report files are single-byte text without a
    // character-set declaration, so they are read as such.
    void Navigate(const QString& path);
    // A window may lay out its own page for the screen and the printer:
    // filter rewrites the page's text before it is shown. The file, and
    // what save-as writes, stay as they are.
    void SetPageFilter(std::function<QString(const QString&)> filter) { pageFilter_ = std::move(filter); }
    // The path of the page shown; "" while empty.
    QString LocationURL() const { return location_; }

    // Pages with long tables (the period reports) show in a view that lays
    // out only the rows on screen: the run that wrote the file at path
    // hands over its rows, and the file is not read back.
    void ShowRowsFast();
    void Navigate(const QString& path, ReportPage page);
    // The text of the page shown, whichever view shows it.
    QString PageText() const;

    void PageSetup();
    void SaveAs();
    // With the print dialog, or straight to the default printer.
    void Print(bool prompt);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QPrinter& printer();
    void printPage(QPrinter& p);
    ReportView* rows_ = nullptr;
    bool savePage(const QString& to);
    void openPage(const QString& path);
    QString location_;
    // The file shown, kept open: a later run puts its file in place of this
    // one, and save-as still copies the page shown.
    QFile page_;
    std::function<QString(const QString&)> pageFilter_;
    std::unique_ptr<QPrinter> printer_;  // keeps the page setup between prints
};

namespace webtest {

struct Call {
    QString command;  // "PageSetup", "SaveAs", "Print"
    bool prompt = true;
    QString page;     // LocationURL() when the command ran
};

// While installed, no dialog opens and no printer is used: every command is
// recorded. Save-as asks saveAs for the target path ("" is Cancel) and then
// saves the page there; printing writes the page to pdf when one is named.
void install(std::function<QString(const Call&)> saveAs = {}, const QString& pdf = QString());
void uninstall();
bool installed();
const QVector<Call>& calls();
void clear();

}  // namespace webtest
