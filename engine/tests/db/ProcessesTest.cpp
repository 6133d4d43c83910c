// Several programs on one database file: real processes started with
// fork/exec, as team members' programs are.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <sstream>

#include "db/DbTestSupport.h"
#include "db/NextID.h"

extern char** environ;

namespace lindor {
namespace {

// A worker program with its standard output read through a pipe.
class Worker {
public:
    explicit Worker(const std::vector<std::string>& args)
    {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> all = {std::string(LINDOR_WORKER_DIR) + "/db_worker"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("spawn");
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
    }
    ~Worker()
    {
        if (pid_ > 0) Wait();
    }

    std::string ReadLine()
    {
        char line[256];
        if (std::fgets(line, sizeof(line), out_) == nullptr) return "";
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

    int Wait()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        if (out_ != nullptr) std::fclose(out_);
        out_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    std::FILE* out_ = nullptr;
};

TEST(SeveralPrograms, NeverGetTheSameIdentifier)
{
    const std::string path = test::NewDatabase();
    constexpr int kPrograms = 4, kEach = 150;
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < kPrograms; ++i)
        workers.push_back(std::make_unique<Worker>(
            std::vector<std::string>{"nextid", path, "NextBugID", std::to_string(kEach)}));
    std::set<int> seen;
    int received = 0;
    for (auto& worker : workers) {
        for (std::string line = worker->ReadLine(); !line.empty(); line = worker->ReadLine()) {
            seen.insert(std::stoi(line));
            ++received;
        }
        EXPECT_EQ(worker->Wait(), 0);
    }
    EXPECT_EQ(received, kPrograms * kEach);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kPrograms * kEach))
        << "a number was handed out twice";
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), kPrograms * kEach);
    EXPECT_EQ(GetNextID("NextBugID"), kPrograms * kEach + 1) << "the counter advanced exactly";
}

TEST(SeveralPrograms, AnOpenCursorDoesNotStopOthersFromCommitting)
{
    const std::string path = test::NewDatabase();
    {
        db::Connection connection(db::BuildConnectionString(path));
        db::Transaction t(connection);
        for (int id = 1; id <= 2000; ++id) db::testing::AddBug(connection, {id});
        t.Commit();
    }
    // This program keeps a cursor over every bug open and has read from it.
    db::Connection connection(db::BuildConnectionString(path));
    db::Recordset list;
    list.Open("SELECT * FROM tBugReport ORDER BY BugID", connection);
    list.SetAbsolutePosition(1000);
    ASSERT_EQ(list.Fields("BugID").Value().i4(), 1000);

    // Another program holds a list open the same way, reading now and then.
    Worker holder({"hold", path, "3"});
    ASSERT_EQ(holder.ReadLine(), "open 2000");

    const auto start = std::chrono::steady_clock::now();
    Worker writer({"insert", path, "5001", "50"});
    const std::string done = writer.ReadLine();
    EXPECT_EQ(writer.Wait(), 0);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    ASSERT_EQ(done.rfind("done ", 0), 0u) << done;
    // The writer is not held up until the readers close (3 s and for ever).
    EXPECT_LT(ms, 2500) << "fifty commits took " << ms << " ms";
    list.SetAbsolutePosition(1500);
    EXPECT_EQ(list.Fields("BugID").Value().i4(), 1500) << "the cursor still works";
    list.Requery();
    EXPECT_EQ(list.RecordCount(), 2050);
    EXPECT_EQ(holder.ReadLine(), "closed");
}

}  // namespace
}  // namespace lindor
