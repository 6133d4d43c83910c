#include "client/infobar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace nimbra {

namespace {

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: palette(mid);"));
    return label;
}

}  // namespace

InfoBar::InfoBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("infoBar"));
    user_ = new QLabel(this);
    user_->setObjectName(QStringLiteral("infoUser"));
    projectLabel_ = new QLabel(this);
    projectLabel_->setObjectName(QStringLiteral("infoProject"));
    QFont bold = font();
    bold.setBold(true);
    user_->setFont(bold);
    projectLabel_->setFont(bold);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->setSpacing(6);
    layout->addWidget(Caption(tr("User:"), this));
    layout->addWidget(user_);
    layout->addSpacing(24);
    layout->addWidget(Caption(tr("Project:"), this));
    layout->addWidget(projectLabel_);
    layout->addStretch(1);
    showTexts();
}

void InfoBar::setUserName(const QString& name)
{
    userName_ = name;
    showTexts();
}

void InfoBar::setProject(const QString& project, const QString& version)
{
    project_ = project;
    version_ = version;
    showTexts();
}

void InfoBar::clear()
{
    userName_.clear();
    project_.clear();
    version_.clear();
    showTexts();
}

QString InfoBar::userText() const
{
    return userName_;
}

QString InfoBar::projectText() const
{
    if (project_.isEmpty()) return QStringLiteral("Select Product");
    return QStringLiteral("%1 (%2)").arg(project_, version_);
}

void InfoBar::showTexts()
{
    user_->setText(userName_);
    projectLabel_->setText(projectText());
}

}  // namespace nimbra
