// An open database with a logged-in user and, for the bug commands, an
// active project and version.
#pragma once

#include <cstdint>
#include <string>

#include "engine.h"
#include "options.h"

namespace cli {

class Session {
public:
    // Opens the database of --db (else NIMBRA_DB).
    explicit Session(const ConnectionOptions& options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Logs in the user of --user (else NIMBRA_USER) with the password of
    // ObtainPassword.
    void Login();
    // Logs in with a known login and password.
    void LoginAs(const std::string& login, const std::string& password);

    // Makes the project of --project (else the user's only one) and the
    // version of --version active.
    void EnterProject();

    lindor::IExeContext* context() const { return context_.get(); }
    std::int32_t userID() const { return userID_; }
    std::int32_t projectID() const { return projectID_; }
    std::int32_t versionID() const { return versionID_; }
    const std::string& projectName() const { return projectName_; }
    ComPtr<lindor::IProject> ActiveProject() const;
    // The rights that apply in the active project.
    ComPtr<lindor::IRight> ProjectRight() const;

private:
    ComPtr<lindor::IProject> ChooseProject() const;
    std::int32_t ChooseVersion(lindor::IProject* project) const;

    ConnectionOptions options_;
    ComPtr<lindor::IExeContext> context_;
    std::int32_t userID_ = 0;
    std::int32_t projectID_ = 0;
    std::int32_t versionID_ = 0;
    std::string projectName_;
};

// The path of --db, else NIMBRA_DB; a usage error when neither is given.
std::string DatabasePath(const ConnectionOptions& options);

}  // namespace cli
