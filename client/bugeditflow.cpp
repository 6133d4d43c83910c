#include "client/bugeditflow.h"

#include "client/buglistmodel.h"
#include "client/buglistview.h"
#include "client/bugsheet.h"
#include "client/bugtabview.h"
#include "client/enginevalues.h"
#include "client/pendingattachments.h"
#include "client/updatingbox.h"
#include "widgets/engineerror.h"
#include "widgets/messages.h"

namespace nimbra {

namespace {

const QString kReloadQuestion = QStringLiteral(
    "Another program may have changed this bug since it was opened.\n"
    "Reload the stored bug? The changes made in this editor are then lost.");

// The attachment changes applied to a stored bug; the engine's description
// of the first failure, or empty.
QString ApplyAttachments(const PendingAttachments& pending, lindor::IBug* bug)
{
    if (!pending.hasChanges()) return QString();
    lindor::ComPtr<lindor::IFileSet> files;
    if (bug->get_AttachedFiles(files.put()) != lindor::S_OK || !files ||
        !pending.applyTo(files.get()))
        return EngineError::text();
    return QString();
}

lindor::eBugType TypeOf(lindor::IBug* bug)
{
    lindor::eBugType type = lindor::eBug;
    bug->get_BugType(&type);
    return type;
}

}  // namespace

BugEditFlow::BugEditFlow(lindor::IExeContext* context, BugTabView* views, const QString& dateFormat,
                         QWidget* parent)
    : context_(context), views_(views), dateFormat_(dateFormat), parent_(parent)
{
}

bool BugEditFlow::reportNew(lindor::eBugType type)
{
    lindor::ComPtr<lindor::IBug> bug;
    if (lindor::CreateObject<lindor::IBug>("Lindor.Bug.1", bug.put()) != lindor::S_OK || !bug) {
        EngineError::show(parent_);
        return false;
    }
    bug->put_BugType(type);
    BugSheet sheet(context_, bug.get(), BugSheet::Mode::New, type, dateFormat_, parent_);
    if (!sheet.load()) return false;
    sheet.setStore([this](BugSheet& shown) { return storeNew(shown); });
    return sheet.exec() == QDialog::Accepted;
}

bool BugEditFlow::storeNew(BugSheet& sheet)
{
    BugListView* list =
        TypeOf(sheet.bug()) == lindor::eFeature ? views_->features() : views_->bugs();
    if (!list->hasBugSet()) {
        Messages::error(&sheet, QStringLiteral("Adding bug Failed!"));
        return false;
    }
    QString failure;
    QString attachmentFailure;
    {
        UpdatingBox box(&sheet);
        lindor::ComPtr<lindor::IBug> stored;
        if (!list->bugModel()->add(sheet.bug(), &stored))
            failure = EngineError::text();
        else if (stored)
            attachmentFailure = ApplyAttachments(sheet.pendingAttachments(), stored.get());
    }
    // A refused report stays in the editor to be corrected; a stored one is
    // done, even when an attachment could not follow it.
    if (!failure.isEmpty()) {
        Messages::error(&sheet, failure);
        return false;
    }
    if (!attachmentFailure.isEmpty()) Messages::error(&sheet, attachmentFailure);
    list->notifyCurrent();
    return true;
}

bool BugEditFlow::editCurrent()
{
    BugListView* list = views_->activeList();
    list->refresh();
    const lindor::ComPtr<lindor::IBug> bug = list->currentBug();
    if (!bug) return false;
    bug->put_BugType(list->type());
    BugSheet sheet(context_, bug.get(), BugSheet::Mode::Edit, list->type(), dateFormat_, parent_);
    if (!sheet.load()) return false;
    sheet.setStore([this, list](BugSheet& shown) { return storeEdit(shown, list); });
    if (sheet.exec() != QDialog::Accepted) return false;
    if (TypeOf(sheet.bug()) != list->type()) {
        views_->bugs()->refresh();
        views_->features()->refresh();
    }
    return true;
}

bool BugEditFlow::storeEdit(BugSheet& sheet, BugListView* list)
{
    QString failure;
    QString attachmentFailure;
    {
        UpdatingBox box(&sheet);
        if (!list->bugModel()->update(sheet.bug()))
            failure = EngineError::text();
        else
            attachmentFailure = ApplyAttachments(sheet.pendingAttachments(), sheet.bug());
    }
    if (!failure.isEmpty()) {
        // Nothing is overwritten unseen: the edits stay until the user
        // chooses to see the stored bug instead.
        Messages::error(&sheet, failure);
        offerReload(sheet, list);
        return false;
    }
    if (!attachmentFailure.isEmpty()) Messages::error(&sheet, attachmentFailure);
    list->notifyCurrent();
    return true;
}

void BugEditFlow::offerReload(BugSheet& sheet, BugListView* list)
{
    if (!Messages::askYesNo(&sheet, kReloadQuestion)) return;
    const std::int32_t id = NumberOf(sheet.bug(), &lindor::IBug::get_ID);
    lindor::ComPtr<lindor::IBug> stored;
    if (!list->bugModel()->refresh() ||
        list->bugModel()->bugSet()->GetBugByID(id, stored.put()) != lindor::S_OK || !stored) {
        EngineError::show(&sheet);
        list->notifyCurrent();
        return;
    }
    stored->put_BugType(list->type());
    sheet.reload(stored.get());
    list->notifyCurrent();
}

}  // namespace nimbra
