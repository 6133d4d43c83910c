#include "demobuilder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <richtext/plaintext.h>

#include "bugsets.h"
#include "roletemplates.h"

namespace cli {
namespace {

using lindor::IBug;

const char* const kAdministratorPassword = "admin";
const char* const kWriteFailed = "Writing a field of the demo bug failed";

ConnectionOptions DemoConnection(const std::string& path)
{
    ConnectionOptions options;
    options.database = path;
    return options;
}

std::string Rtf(const std::string& text)
{
    return text.empty() ? text : richtext::PlainTextToRtf(text);
}

// A date a number of whole and random seconds later, never after `latest`.
double Later(double date, double days, double latest)
{
    return std::min(date + days, latest);
}

// A folder of its own for the files to attach, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "nimbra-demo-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) Refuse("Cannot make a temporary folder");
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes a file whose last change is `date`, so that the stored
    // attachment does not depend on when the demo was made.
    std::string Write(const std::string& name, const std::string& content, double date) const
    {
        const std::string path = (path_ / name).string();
        std::ofstream(path, std::ios::binary) << content;
        std::tm local{};
        const double days = std::floor(date);
        const long seconds = std::lround((date - days) * 86400.0);
        // 30 December 1899 plus the date's days and seconds, local time.
        local.tm_year = 1899 - 1900;
        local.tm_mon = 11;
        local.tm_mday = 30 + static_cast<int>(days);
        local.tm_sec = static_cast<int>(seconds);
        local.tm_isdst = -1;
        const timespec when{std::mktime(&local), 0};
        const timespec times[2] = {when, when};
        utimensat(AT_FDCWD, path.c_str(), times, 0);
        return path;
    }

private:
    std::filesystem::path path_;
};

struct DemoFile {
    const char* name;
    const char* content;
};

const DemoFile kFiles[] = {
    {"crash.log",
     "2024-03-02 09:14:07 INFO  opening ledger 'Main'\n"
     "2024-03-02 09:14:09 ERROR NullReferenceException in LedgerView.Save\n"
     "    at LedgerView.Save(Boolean confirm)\n    at MainWindow.OnSave()\n"},
    {"settings.ini", "[General]\nLanguage=de\nCurrency=EUR\nDecimals=3\n"},
    {"orders.csv",
     "order,customer,total\n10021,Kestrel Bakeries,119.00\n10022,Aurora Dental,0.00\n"},
    {"steps.txt", "Open the cart, add two items, apply code SPRING100, press Pay.\n"},
    {"trace.txt", "GET /checkout 200 83ms\nPOST /pay 502 30012ms\nPOST /pay 200 412ms\n"},
    {"notes.md", "# Call with support\n- customer on 4.1\n- happens after the bank import\n"},
};

// The computers the team works on, in the order of the team; what the
// client shows as a reporter's system information.
struct DemoComputer {
    const char* cpu;
    const char* memory;
    const char* disk;
    const char* os;
    const char* osBuild;
    const char* network;
};

const DemoComputer kComputers[] = {
    {"Intel Xeon E-2388G", "65536M", "2048G", "Debian GNU/Linux 12 (bookworm)", "6.1.0-18",
     "Server room, 10 Gbit/s"},
    {"Intel Core i7-1260P", "32768M", "1024G", "Ubuntu 22.04.4 LTS", "6.5.0-26",
     "Office LAN, 1 Gbit/s; VPN from home"},
    {"AMD Ryzen 7 7840U", "32768M", "1024G", "Fedora Linux 39", "6.7.9-200",
     "Office LAN, 1 Gbit/s"},
    {"Apple M2 Pro", "16384M", "512G", "macOS 14.4", "23E214", "Wi-Fi, 300 Mbit/s"},
    {"Intel Core i5-12400", "16384M", "512G", "Windows 11 Pro", "22631.3296",
     "Office LAN, 1 Gbit/s; test shop behind a proxy"},
};

}  // namespace

DemoBuilder::DemoBuilder(const std::string& path, unsigned seed, double today)
    : session_(DemoConnection(path)), random_(seed), today_(today)
{
    team_ = {
        {{"Admin", kAdministratorPassword, "Administrator", "Admin"}, "Administrator", 1},
        {{"maria", "maria-demo", "Manager", "Maria Lindqvist"}, "Engineering Manager", 0},
        {{"tomas", "tomas-demo", "Developer", "Tomás Herrera"}, "Software Developer", 0},
        {{"priya", "priya-demo", "Developer", "Priya Raman"}, "Software Developer", 0},
        {{"jonas", "jonas-demo", "QA Person", "Jonas Becker"}, "Quality Assurance", 0},
    };
}

std::vector<DemoLogin> DemoBuilder::Build(int bugCount)
{
    session_.LoginAs("Admin", "");
    Check(session_.context()->ChangePsw("", kAdministratorPassword), "Change password failed!");
    AddUsers();
    DescribeComputers();
    ShapeProjects();
    AssignRoles();
    // The administrator's new role takes effect with the next login.
    session_.LoginAs("Admin", kAdministratorPassword);
    AddClassifications();
    AddReports(bugCount);
    std::vector<DemoLogin> logins;
    for (const Member& member : team_) logins.push_back(member.login);
    return logins;
}

void DemoBuilder::AddUsers()
{
    const ComPtr<lindor::IAdmin> admin =
        ObjectOf(session_.context(), &lindor::IExeContext::get_Admin);
    if (!admin) Refuse("The demo needs the administrator's rights");
    const ComPtr<lindor::IUserSet> users = ObjectOf(admin.get(), &lindor::IAdmin::get_UserSet);
    for (Member& member : team_) {
        if (member.id != 0) continue;  // the administrator exists already
        const ComPtr<lindor::IUser> user = CreateEngineObject<lindor::IUser>("Lindor.User.1");
        const std::string& login = member.login.login;
        Check(user->put_LoginName(login), "Setting the user failed");
        Check(user->put_UserName(member.login.name), "Setting the user failed");
        Check(user->put_Password(member.login.password), "Setting the user failed");
        Check(user->put_Position(member.position), "Setting the user failed");
        Check(user->put_Department("Product Development"), "Setting the user failed");
        Check(user->put_EMail(login + "@example.com"), "Setting the user failed");
        Check(users->Add(user.get()), "Add user failed");
        member.id = NumberOf(user.get(), &lindor::IUser::get_ID);
    }
}

// Every member gets a computer description, so that logging in with the
// client does not ask for one and the reports show the reporter's machine.
void DemoBuilder::DescribeComputers()
{
    const ComPtr<lindor::IAdmin> admin =
        ObjectOf(session_.context(), &lindor::IExeContext::get_Admin);
    const ComPtr<lindor::IUserSet> users = ObjectOf(admin.get(), &lindor::IAdmin::get_UserSet);
    const std::int32_t count = NumberOf(users.get(), &lindor::IUserSet::get_Count);
    for (std::int32_t i = 0; i < count; ++i) {
        const ComPtr<lindor::IUser> user = ItemOf(users.get(), i, &lindor::IUserSet::get_Item);
        const std::int32_t id = NumberOf(user.get(), &lindor::IUser::get_ID);
        const auto member =
            std::find_if(team_.begin(), team_.end(), [id](const Member& m) { return m.id == id; });
        if (member == team_.end()) continue;
        const DemoComputer& computer =
            kComputers[static_cast<std::size_t>(member - team_.begin()) % std::size(kComputers)];
        const ComPtr<lindor::IUserSysInfo> info =
            CreateEngineObject<lindor::IUserSysInfo>("Lindor.UserSysInfo.1");
        Check(info->put_CPU(computer.cpu), "Setting the system information failed");
        Check(info->put_Memory(computer.memory), "Setting the system information failed");
        Check(info->put_HardDisk(computer.disk), "Setting the system information failed");
        Check(info->put_OS(computer.os), "Setting the system information failed");
        Check(info->put_OSBuild(computer.osBuild), "Setting the system information failed");
        Check(info->put_NetEnvironment(computer.network), "Setting the system information failed");
        Check(user->put_SysInfo(info.get()), "Set user's system infomation failed");
    }
}

// A new database has two projects with two versions each: they become the
// two products, with the products' versions and release dates.
void DemoBuilder::ShapeProjects()
{
    const ComPtr<lindor::IProjectSet> projects =
        ObjectOf(session_.context(), &lindor::IExeContext::get_ProjectSet);
    const std::vector<DemoProduct>& products = DemoProducts();
    if (NumberOf(projects.get(), &lindor::IProjectSet::get_Count) <
        static_cast<std::int32_t>(products.size()))
        Refuse("The new database lacks its two projects");
    for (std::size_t p = 0; p < products.size(); ++p) {
        const DemoProduct& product = products[p];
        const ComPtr<lindor::IProject> project =
            ItemOf(projects.get(), static_cast<std::int32_t>(p), &lindor::IProjectSet::get_Item);
        Check(project->put_Name(product.name), "Setting the project failed");
        Check(project->put_Description(product.description), "Setting the project failed");
        for (std::size_t v = 0; v < product.versions.size(); ++v) {
            const DemoVersion& plan = product.versions[v];
            const double released = today_ - plan.releasedDaysAgo;
            if (static_cast<std::int32_t>(v) <
                NumberOf(project.get(), &lindor::IProject::get_VersionCount)) {
                const ComPtr<lindor::IVersion> version = ItemOf(
                    project.get(), static_cast<std::int32_t>(v), &lindor::IProject::get_Version);
                Check(version->put_Name(plan.name), "Setting the version failed");
                Check(version->put_Description(plan.description), "Setting the version failed");
                Check(version->put_ReleaseDate(released), "Setting the version failed");
            } else {
                ComPtr<lindor::IVersion> added;
                Check(project->AddVersion(plan.name, plan.description, released, added.put()),
                      "Add version Failed");
            }
        }
        Check(projects->Update(), "Update Project failed!");
        StoredProduct stored;
        stored.product = &product;
        stored.id = NumberOf(project.get(), &lindor::IProject::get_ID);
        const ComPtr<lindor::IProjectSet> reread =
            ObjectOf(session_.context(), &lindor::IExeContext::get_ProjectSet);
        const ComPtr<lindor::IProject> fresh =
            ItemOf(reread.get(), static_cast<std::int32_t>(p), &lindor::IProjectSet::get_Item);
        const std::int32_t versions = NumberOf(fresh.get(), &lindor::IProject::get_VersionCount);
        for (std::int32_t v = 0; v < versions; ++v)
            stored.versionIDs.push_back(
                NumberOf(ItemOf(fresh.get(), v, &lindor::IProject::get_Version).get(),
                         &lindor::IVersion::get_ID));
        products_.push_back(std::move(stored));
    }
}

void DemoBuilder::AssignRoles()
{
    const ComPtr<lindor::IAdmin> admin =
        ObjectOf(session_.context(), &lindor::IExeContext::get_Admin);
    for (const Member& member : team_) {
        const RoleTemplate& role =
            FindRoleTemplate(member.id == 1 ? std::string("All") : member.login.role);
        const ComPtr<lindor::IUserRight> userRight =
            CreateEngineObject<lindor::IUserRight>("Lindor.UserRight.1");
        const ComPtr<lindor::IRightSet> rights =
            ObjectOf(userRight.get(), &lindor::IUserRight::get_RightSet);
        for (const StoredProduct& product : products_) {
            const ComPtr<lindor::IRight> right =
                CreateEngineObject<lindor::IRight>("Lindor.Right.1");
            Check(right->put_ProjectID(product.id), "Setting a right failed");
            ApplyRoleTemplate(role, right.get());
            Check(rights->Append(right.get()), "Setting a right failed");
        }
        Check(admin->SetUserRight(member.id, userRight.get()), "Set right to user failed!");
    }
}

void DemoBuilder::AddClassifications()
{
    const ComPtr<lindor::IProjectSet> projects =
        ObjectOf(session_.context(), &lindor::IExeContext::get_ProjectSet);
    for (std::size_t p = 0; p < products_.size(); ++p) {
        const ComPtr<lindor::IProject> project =
            ItemOf(projects.get(), static_cast<std::int32_t>(p), &lindor::IProjectSet::get_Item);
        const ComPtr<lindor::IClassificationSet> set =
            ObjectOf(project.get(), &lindor::IProject::get_ClassificationSet);
        Check(set->put_ExeContext(session_.context()), "Set ExeContext failed!");
        for (const std::string& name : products_[p].product->classifications) {
            const ComPtr<lindor::IClassification> item =
                CreateEngineObject<lindor::IClassification>("Lindor.Classification.1");
            Check(item->put_Name(name), "Setting the classification failed");
            Check(set->Add(item.get()), "Add Classification Failed");
            products_[p].classificationIDs.push_back(
                NumberOf(item.get(), &lindor::IClassification::get_ID));
        }
    }
}

std::int32_t DemoBuilder::MemberID(const std::string& role, std::size_t which) const
{
    std::vector<std::int32_t> ids;
    for (const Member& member : team_)
        if (member.login.role == role) ids.push_back(member.id);
    return ids[which % ids.size()];
}

// The newest version released by `date`, else the first one.
std::int32_t DemoBuilder::VersionAt(const StoredProduct& product, double date) const
{
    std::size_t chosen = 0;
    for (std::size_t v = 0; v < product.product->versions.size(); ++v)
        if (today_ - product.product->versions[v].releasedDaysAgo <= date) chosen = v;
    return product.versionIDs[chosen];
}

void DemoBuilder::AddReports(int count)
{
    std::vector<double> dates;
    for (int i = 0; i < count; ++i) dates.push_back(today_ - random_.Below(365 * 86400) / 86400.0);
    std::sort(dates.begin(), dates.end());  // numbers grow with the report date
    const ComPtr<lindor::IBugSet> set = OpenSetForAdding(session_, lindor::eBug);
    for (double reported : dates) AddReport(set.get(), reported);
    std::vector<std::int32_t> ids;
    for (int i = 0; i < std::min(count, 6); ++i)
        ids.push_back(1 + static_cast<std::int32_t>(random_.Below(count)));
    AttachFiles(ids);
}

void DemoBuilder::AddReport(lindor::IBugSet* set, double reported)
{
    const StoredProduct& product = products_[random_.Weighted({60, 40})];
    const bool feature = random_.Chance(0.25);
    const double age = today_ - reported;
    std::int32_t version = VersionAt(product, reported);
    const DemoVersion& next = product.product->versions.back();
    if (next.releasedDaysAgo < 0 && age < 60 && random_.Chance(0.2))
        version = product.versionIDs.back();
    std::string versionName;
    for (std::size_t v = 0; v < product.versionIDs.size(); ++v)
        if (product.versionIDs[v] == version) versionName = product.product->versions[v].name;
    const DemoStory story = feature ? MakeFeatureStory(*product.product, random_)
                                    : MakeBugStory(*product.product, versionName, random_);

    const ComPtr<IBug> bug = CreateEngineObject<IBug>("Lindor.Bug.1");
    const auto put = [](lindor::HRESULT result) { Check(result, kWriteFailed); };
    put(bug->put_BugType(feature ? lindor::eFeature : lindor::eBug));
    put(bug->put_Description(story.description));
    put(bug->put_Report(Rtf(story.report)));
    put(bug->put_RecreateStep(Rtf(story.recreateSteps)));
    put(bug->put_Workaround(Rtf(story.workaround)));
    put(bug->put_ReportedInProjectID(product.id));
    put(bug->put_ReportedInProject(product.product->name));
    put(bug->put_ReportedInVersionID(version));
    put(bug->put_ReportedDate(reported));
    put(bug->put_ClassificationID(product.classificationIDs[story.classification]));
    const std::vector<std::string> priorities = {"High", "Normal", "Low"};
    put(bug->put_Priority(priorities[random_.Weighted({25, 55, 20})]));
    const std::vector<std::string> severities = {"Crash", "Critical", "Moderate", "Normal",
                                                 "Trivial"};
    put(bug->put_Severity(feature ? "Normal" : severities[random_.Weighted({8, 15, 30, 35, 12})]));
    const std::vector<std::string> reproducibility = {"Always", "Sometimes", "Scarcely", "Never"};
    put(bug->put_Reproductive(reproducibility[random_.Weighted({50, 30, 15, 5})]));
    const std::vector<int> estimates = {30, 60, 120, 240, 480, 960, 1920};
    put(bug->put_EstimatedTime(estimates[random_.Below(feature ? estimates.size() : 5)]));

    const std::size_t reporterKind =
        feature ? random_.Weighted({25, 60, 15}) : random_.Weighted({55, 25, 20});
    const std::int32_t reporter = reporterKind == 0   ? MemberID("QA Person")
                                  : reporterKind == 1 ? MemberID("Manager")
                                                      : MemberID("Developer", random_.Below(2));
    put(bug->put_ReportedByID(reporter));

    // Older reports are more often done; done ones were fixed by a developer
    // and often verified by QA.
    const bool done = age > 2 && random_.Chance(std::min(0.85, age / 120.0));
    const std::vector<std::string> doneStatuses =
        feature ? std::vector<std::string>{"Resolved", "Verified", "Postponed"}
                : std::vector<std::string>{"Resolved", "Verified", "Will Not Fix", "By Design",
                                           "Cannot Reproduce"};
    const std::vector<std::string> openStatuses = {"New", "Active", "In Process", "Waiting",
                                                   "Postponed"};
    const std::string status =
        done ? doneStatuses[random_.Weighted(feature ? std::vector<int>{50, 30, 20}
                                                     : std::vector<int>{40, 35, 5, 8, 12})]
             : openStatuses[random_.Weighted({35, 30, 20, 10, 5})];
    put(bug->put_Status(status));
    std::int32_t lastBy = reporter;
    double lastDate = reported;
    if (status == "Resolved" || status == "Verified") {
        const std::int32_t developer = MemberID("Developer", random_.Below(2));
        const double fixed =
            Later(reported, random_.Between(1, 30) + random_.Below(86400) / 86400.0, today_);
        put(bug->put_FixedByID(developer));
        put(bug->put_FixedDate(fixed));
        put(bug->put_FixedInVersionID(VersionAt(product, fixed)));
        put(bug->put_Resolution(Rtf(story.resolution)));
        lastBy = developer;
        lastDate = fixed;
        if (status == "Verified") {
            const double verified = Later(fixed, random_.Between(1, 5), today_);
            put(bug->put_VerifiedByID(MemberID("QA Person")));
            put(bug->put_VerifiedDate(verified));
            lastBy = MemberID("QA Person");
            lastDate = verified;
        }
    } else if (done) {
        put(bug->put_Resolution(Rtf(status == "Postponed" ? "Moved to the next major release."
                                                          : status + ": " + story.resolution)));
        lastBy = MemberID("Manager");
        lastDate = Later(reported, random_.Between(1, 20), today_);
    }
    if (random_.Chance(done ? 0.2 : 0.4))
        put(bug->put_DateDue(std::floor(reported) + random_.Between(7, 45) + 17.0 / 24.0));
    put(bug->put_LastModifiedByID(lastBy));
    put(bug->put_LastModifiedDate(lastDate));
    ComPtr<IBug> added;
    Check(set->Add(bug.get(), added.put()), "Add bug failed!");
}

void DemoBuilder::AttachFiles(const std::vector<std::int32_t>& bugIDs)
{
    ScratchFolder folder;
    for (std::size_t i = 0; i < bugIDs.size(); ++i) {
        const FoundBug found = FindBug(session_, bugIDs[i]);
        lindor::Date reported = 0.0;
        Check(found.bug->get_ReportedDate(&reported), "Reading the bug failed");
        const DemoFile& file = kFiles[i % std::size(kFiles)];
        const ComPtr<lindor::IFileSet> files = ObjectOf(found.bug.get(), &IBug::get_AttachedFiles);
        ComPtr<lindor::IFile> added;
        Check(files->Add(folder.Write(file.name, file.content, reported), added.put()),
              "Add file to database failed!");
    }
}

}  // namespace cli
