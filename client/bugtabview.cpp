#include "client/bugtabview.h"

#include "client/buglistview.h"

namespace nimbra {

BugTabView::BugTabView(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("bugTabView"));
    setDocumentMode(true);
    bugs_ = new BugListView(lindor::eBug, this);
    features_ = new BugListView(lindor::eFeature, this);
    addTab(bugs_, QIcon(QStringLiteral(":/icons/bug.svg")), tr("Bug"));
    addTab(features_, QIcon(QStringLiteral(":/icons/feature.svg")), tr("Feature"));
    setCurrentIndex(0);
}

BugListView* BugTabView::activeList() const
{
    return currentIndex() == 1 ? features_ : bugs_;
}

void BugTabView::clearLists()
{
    bugs_->setBugSet(nullptr);
    features_->setBugSet(nullptr);
}

}  // namespace nimbra
