#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The about window: what the program is, the installed version and the update check.
// Created hidden once at start-up; closing it only hides it.
class TAbout_Form : public QWidget
{
    Q_OBJECT
public:
    // versionFile: the path of kavelin.txt; installation: where the program keeps its settings,
    // for the user.
    TAbout_Form(const QString &versionFile, const QString &installation, QWidget *parent = nullptr);

    QPlainTextEdit *Memo1;
    QLabel *Label3;
    QPushButton *Button2;
    QLabel *installationLabel;

    void FormCreate();
    void Button2Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void showInstallation(const QString &installation);

    QString m_versionFile;
};
