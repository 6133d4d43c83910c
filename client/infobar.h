// The strip under the toolbar that names the logged-in user and the active
// project with its version in parentheses ("Select Product" while no project
// name is known).
#pragma once

#include <QWidget>

class QLabel;

namespace nimbra {

class InfoBar : public QWidget {
    Q_OBJECT
public:
    explicit InfoBar(QWidget* parent = nullptr);

    void setUserName(const QString& name);
    void setProject(const QString& project, const QString& version);
    void clear();

    QString userText() const;
    // "Project 1 (Version 2.0)", "All (All)" or "Select Product".
    QString projectText() const;

private:
    void showTexts();

    QString userName_;
    QString project_;
    QString version_;
    QLabel* user_ = nullptr;
    QLabel* projectLabel_ = nullptr;
};

}  // namespace nimbra
