// The demo database: a small team with the administration program's roles,
// two products with three versions each and a few classifications, and a
// year of bug and feature reports with some attachments. The same seed and
// day give the same content.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demorandom.h"
#include "demotexts.h"
#include "session.h"

namespace cli {

struct DemoLogin {
    std::string login;
    std::string password;
    std::string role;
    std::string name;
};

class DemoBuilder {
public:
    // Works on the new, empty database at `path`; `today` is the last day of
    // the made-up year (an engine date at midnight).
    DemoBuilder(const std::string& path, unsigned seed, double today);

    // Fills the database and gives the logins of the team.
    std::vector<DemoLogin> Build(int bugCount);

private:
    struct Member {
        DemoLogin login;
        std::string position;
        std::int32_t id = 0;
    };
    struct StoredProduct {
        const DemoProduct* product = nullptr;
        std::int32_t id = 0;
        std::vector<std::int32_t> versionIDs;
        std::vector<std::int32_t> classificationIDs;
    };

    void AddUsers();
    void DescribeComputers();
    void ShapeProjects();
    void AssignRoles();
    void AddClassifications();
    void AddReports(int count);
    void AddReport(lindor::IBugSet* set, double reported);
    void AttachFiles(const std::vector<std::int32_t>& bugIDs);
    std::int32_t VersionAt(const StoredProduct& product, double date) const;
    std::int32_t MemberID(const std::string& role, std::size_t which = 0) const;

    Session session_;
    DemoRandom random_;
    double today_;
    std::vector<Member> team_;
    std::vector<StoredProduct> products_;
};

}  // namespace cli
