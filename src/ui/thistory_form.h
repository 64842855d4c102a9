#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class QTextEdit;

// "Historie příhozů": the records of the armings, newest first; a record opened shows its
// journal and the page's picture after the bid, and its folder can be opened.
class THistory_Form : public QWidget
{
    Q_OBJECT
public:
    explicit THistory_Form(const QString &recordsFolder, QWidget *parent = nullptr);

    // Reads the records' folder again.
    void refresh();

    QTableWidget *Zaznamy_Table;
    QTextEdit *Denik_Memo;
    QLabel *Obrazek_Label;
    QPushButton *Slozka_BTT;

private:
    void showRecord(int row);

    QString m_recordsFolder;
    QStringList m_folders;   // the table's rows
};
