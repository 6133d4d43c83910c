// Receives the context's events (OnLogin, OnActiveProject) and passes them on
// as Qt signals, synchronously, while the engine call that fires them runs.
#pragma once

#include <lindor/lindor.h>

#include <QObject>

namespace nimbra {

class ContextEvents : public QObject, public lindor::IExeContextEvents {
    Q_OBJECT
public:
    explicit ContextEvents(QObject* parent = nullptr);
    ~ContextEvents() override;

    // Subscribes to the context's events; false when the engine refuses.
    bool connectTo(lindor::IExeContext* context);
    void disconnectFromContext();

    // The object lives as long as its Qt parent; the count only tracks the
    // references the engine holds.
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    lindor::HRESULT QueryInterface(const char* iid, void** out) override;

    lindor::HRESULT OnLogin(std::int32_t bOK, const std::string& login,
                            const std::string& psw) override;
    lindor::HRESULT OnActiveProject(std::int32_t bOK, std::int32_t projectID,
                                    std::int32_t versionID) override;

signals:
    void loggedIn(bool ok, const QString& login);
    void projectActivated(bool ok, int projectId, int versionId);

private:
    lindor::ComPtr<lindor::IExeContext> context_;
    std::uint32_t cookie_ = 0;
    std::uint32_t references_ = 0;
};

}  // namespace nimbra
