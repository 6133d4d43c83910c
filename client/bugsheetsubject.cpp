#include "client/bugsheetsubject.h"

#include "client/enginevalues.h"

namespace nimbra {

bool BugSheetSubject::read(lindor::IExeContext* source, lindor::IBug* target, bool isNew)
{
    context = lindor::ComPtr<lindor::IExeContext>(source);
    bug = lindor::ComPtr<lindor::IBug>(target);
    newReport = isNew;
    loadedStatus = isNew ? QString() : TextOf(target, &lindor::IBug::get_Status);
    right.reset();
    if (context->get_CurProjectRight(right.put()) != lindor::S_OK) return false;
    if (!right &&
        lindor::CreateObject<lindor::IRight>("Lindor.Right.1", right.put()) != lindor::S_OK)
        return false;
    lindor::ComPtr<lindor::IUser> user;
    lindor::ComPtr<lindor::IProject> project;
    lindor::ComPtr<lindor::IVersion> version;
    if (context->get_CurUser(user.put()) != lindor::S_OK ||
        context->get_ActiveProject(project.put()) != lindor::S_OK ||
        context->get_ActiveVersion(version.put()) != lindor::S_OK)
        return false;
    userId = NumberOf(user.get(), &lindor::IUser::get_ID);
    userName = TextOf(user.get(), &lindor::IUser::get_UserName);
    projectId = NumberOf(project.get(), &lindor::IProject::get_ID);
    projectName = TextOf(project.get(), &lindor::IProject::get_Name);
    versionName = TextOf(version.get(), &lindor::IVersion::get_Name);
    return true;
}

}  // namespace nimbra
