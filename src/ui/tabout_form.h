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
    // programDir: the directory of the program, where kavelin.txt lies.
    explicit TAbout_Form(const QString &programDir, QWidget *parent = nullptr);

    QPlainTextEdit *Memo1;
    QLabel *Label3;
    QPushButton *Button2;

    void FormCreate();
    void Button2Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    QString versionFilePath() const;

    QString m_programDir;
};
