#include "db/Connection.h"

#include <strings.h>

#include <algorithm>
#include <vector>

#include "db/Dialect.h"

namespace lindor::db {
namespace {

std::string& ProcessConnectionStringSlot()
{
    static std::string connectionString;
    return connectionString;
}

struct Claim {
    const void* owner;
    std::string connectionString;
};

// In the order they were made; the engine is called on one thread only.
std::vector<Claim>& Claims()
{
    static std::vector<Claim> claims;
    return claims;
}

void Withdraw(const void* owner)
{
    std::vector<Claim>& claims = Claims();
    claims.erase(std::remove_if(claims.begin(), claims.end(),
                                [owner](const Claim& claim) { return claim.owner == owner; }),
                 claims.end());
}

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

DatabaseError ClosedError()
{
    return DatabaseError(dberr::kClosed, "Operation is not allowed when the object is closed.");
}

}  // namespace

std::string BuildConnectionString(const std::string& path)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Persist Security Info=False";
}

std::string DataSourceOf(const std::string& connectionString)
{
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        std::size_t end = connectionString.find(';', start);
        if (end == std::string::npos) end = connectionString.size();
        const std::string part = connectionString.substr(start, end - start);
        const std::size_t equals = part.find('=');
        if (equals != std::string::npos && SameName(Trim(part.substr(0, equals)), "Data Source"))
            return Trim(part.substr(equals + 1));
        start = end + 1;
    }
    return std::string();
}

void SetProcessConnectionString(const std::string& connectionString)
{
    ProcessConnectionStringSlot() = connectionString;
}

const std::string& ProcessConnectionString()
{
    return ProcessConnectionStringSlot();
}

void ClaimProcessConnectionString(const void* owner, const std::string& connectionString)
{
    Withdraw(owner);
    Claims().push_back({owner, connectionString});
    ProcessConnectionStringSlot() = connectionString;
}

void ReleaseProcessConnectionString(const void* owner)
{
    const std::size_t before = Claims().size();
    Withdraw(owner);
    if (Claims().size() == before || Claims().empty()) return;
    ProcessConnectionStringSlot() = Claims().back().connectionString;
}

Connection::~Connection()
{
    try {
        Close();
    } catch (...) {
        // A destructor must not throw; Close already rolled back what it could.
    }
}

void Connection::Open(const std::string& connectionString)
{
    Close();
    const std::string path = DataSourceOf(connectionString);
    if (path.empty())
        throw DatabaseError(dberr::kCannotOpen,
                            "The connection string names no database file (Data Source).");
    database_ = SharedDatabase::Open(path);
}

void Connection::Close()
{
    if (database_ == nullptr) return;
    std::shared_ptr<SharedDatabase> database = std::move(database_);
    database_ = nullptr;
    if (transactions_ > 0 && database->Owns(this)) {
        transactions_ = 0;
        database->Rollback(this);
    }
    transactions_ = 0;
}

SharedDatabase& Connection::database() const
{
    if (database_ == nullptr) throw ClosedError();
    return *database_;
}

void Connection::BeginTrans()
{
    database().Begin(this);
    ++transactions_;
}

void Connection::CommitTrans()
{
    database().Commit(this);
    --transactions_;
}

void Connection::RollbackTrans()
{
    database().Rollback(this);
    --transactions_;
}

bool Connection::InTransaction() const
{
    return database_ != nullptr && transactions_ > 0;
}

Transaction::~Transaction()
{
    if (done_ || !connection_.InTransaction()) return;
    try {
        connection_.RollbackTrans();
    } catch (...) {
        // Nothing more can be done from a destructor; the file keeps its state.
    }
}

void Transaction::Commit()
{
    connection_.CommitTrans();
    done_ = true;
}

}  // namespace lindor::db
