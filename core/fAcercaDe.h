// About box.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

class fAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit fAcercaDe(QWidget* parent = nullptr);

    QLabel* lblAcercaDe[3];  // objectNames lblAcercaDe0 .. lblAcercaDe2
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system-information program, or says it is not available.
    void StartSysInfo();

    // Shows the single instance centred on owner: modal (returns when it
    // closes) from the main window, modeless from list and search windows.
    static void Mostrar(QWidget* owner, bool modal);
};
