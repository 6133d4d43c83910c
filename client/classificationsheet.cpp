#include "client/classificationsheet.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "client/enginevalues.h"
#include "client/enternamedialog.h"
#include "widgets/engineerror.h"
#include "widgets/helpviewer.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

constexpr int kIdRole = Qt::UserRole;

QListWidgetItem* MakeEntry(const QString& name, int id)
{
    auto* entry = new QListWidgetItem(name);
    entry->setData(kIdRole, id);
    return entry;
}

}  // namespace

ClassificationSheet::ClassificationSheet(lindor::ComPtr<lindor::IClassificationSet> classifications,
                                         QWidget* parent)
    : QDialog(parent), set_(std::move(classifications))
{
    setObjectName(QStringLiteral("classificationSheet"));
    setWindowTitle(QStringLiteral("Edit Classification"));
    auto* pages = new QTabWidget(this);
    pages->addTab(makePage(), tr("Classification"));
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ClassificationSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { HelpViewer::open(this, QStringLiteral("EditClass.htm")); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
    resize(380, 320);
    fillList();
    updateButtons();
}

QWidget* ClassificationSheet::makePage()
{
    auto* page = new QWidget(this);
    list_ = new QListWidget(page);
    list_->setObjectName(QStringLiteral("classificationList"));
    auto* label = new QLabel(tr("&Set classification for this project"), page);
    label->setBuddy(list_);
    auto* add = new QPushButton(tr("&Add"), page);
    edit_ = new QPushButton(tr("&Edit"), page);
    delete_ = new QPushButton(tr("&Delete"), page);
    add->setAutoDefault(false);
    edit_->setAutoDefault(false);
    delete_->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &ClassificationSheet::addClassification);
    connect(edit_, &QPushButton::clicked, this, &ClassificationSheet::renameSelected);
    connect(delete_, &QPushButton::clicked, this, &ClassificationSheet::deleteSelected);
    connect(list_, &QListWidget::itemSelectionChanged, this, &ClassificationSheet::updateButtons);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ClassificationSheet::renameSelected);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label);
    layout->addLayout(row, 1);
    return page;
}

void ClassificationSheet::fillList()
{
    const int count = NumberOf(set_.get(), &lindor::IClassificationSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IClassification> item;
        if (set_->get_Item(i, item.put()) != lindor::S_OK || !item) {
            EngineError::show(this);
            return;
        }
        list_->addItem(MakeEntry(TextOf(item.get(), &lindor::IClassification::get_Name),
                                 NumberOf(item.get(), &lindor::IClassification::get_ID)));
    }
}

void ClassificationSheet::updateButtons()
{
    const bool selected = selectedEntry() != nullptr;
    edit_->setEnabled(selected);
    delete_->setEnabled(selected);
}

QListWidgetItem* ClassificationSheet::selectedEntry() const
{
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    return chosen.isEmpty() ? nullptr : chosen.first();
}

lindor::ComPtr<lindor::IClassification> ClassificationSheet::findInSet(int id) const
{
    const int count = NumberOf(set_.get(), &lindor::IClassificationSet::get_Count);
    for (int i = 0; i < count; ++i) {
        lindor::ComPtr<lindor::IClassification> item;
        if (set_->get_Item(i, item.put()) != lindor::S_OK || !item) return nullptr;
        if (NumberOf(item.get(), &lindor::IClassification::get_ID) == id) return item;
    }
    return nullptr;
}

void ClassificationSheet::addClassification()
{
    EnterNameDialog ask(QString(), this);
    if (ask.exec() != QDialog::Accepted) return;
    lindor::ComPtr<lindor::IClassification> item;
    if (lindor::CreateObject<lindor::IClassification>("Lindor.Classification.1", item.put()) !=
            lindor::S_OK ||
        item->put_Name(ask.name().toStdString()) != lindor::S_OK ||
        set_->Add(item.get()) != lindor::S_OK) {
        EngineError::show(this);
        return;
    }
    list_->addItem(MakeEntry(ask.name(), NumberOf(item.get(), &lindor::IClassification::get_ID)));
}

void ClassificationSheet::renameSelected()
{
    QListWidgetItem* entry = selectedEntry();
    if (entry == nullptr) return;
    EnterNameDialog ask(entry->text(), this);
    if (ask.exec() != QDialog::Accepted) return;
    const lindor::ComPtr<lindor::IClassification> item = findInSet(entry->data(kIdRole).toInt());
    if (!item) {
        EngineError::show(this);
        return;
    }
    const QString oldName = TextOf(item.get(), &lindor::IClassification::get_Name);
    if (item->put_Name(ask.name().toStdString()) != lindor::S_OK ||
        set_->Update() != lindor::S_OK) {
        const QString why = EngineError::text();
        item->put_Name(oldName.toStdString());  // the set keeps what the database holds
        Messages::error(this, why);
        return;
    }
    entry->setText(ask.name());
}

void ClassificationSheet::deleteSelected()
{
    QListWidgetItem* entry = selectedEntry();
    if (entry == nullptr) return;
    if (!Messages::askYesNo(this, QStringLiteral("Do you really want to delete it?"))) return;
    if (set_->RemoveByID(entry->data(kIdRole).toInt()) != lindor::S_OK) {
        EngineError::show(this);
        return;
    }
    delete entry;
    updateButtons();
}

void ClassificationSheet::accept()
{
    if (list_->count() == 0) {
        Messages::warning(this, QStringLiteral("Project must have at least one classification!"));
        return;
    }
    QDialog::accept();
}

}  // namespace nimbra
