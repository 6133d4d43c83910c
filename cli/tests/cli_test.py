#!/usr/bin/env python3
"""Runs the built nimbra-cli as a process on temporary databases.

Usage: cli_test.py PATH-TO-NIMBRA-CLI [unittest arguments]
"""
import csv
import io
import json
import os
import sqlite3
import subprocess
import sys
import tempfile
import unittest

CLI = None
PROJECT = "Ledgerly Desktop"
TODAY = "2025-06-01"
# The fields the tracker keeps itself: an import takes them from the target
# database, so two databases differ in them.
KEPT_BY_TRACKER = {"ID", "ReportedDate", "FixedDate", "VerifiedDate",
                   "LastModifiedBy", "LastModifiedDate", "Attachments"}


class CliCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.env = dict(os.environ, NIMBRA_HOME=self.folder.name)
        for name in ("NIMBRA_DB", "NIMBRA_USER", "NIMBRA_PASSWORD"):
            self.env.pop(name, None)

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def run_cli(self, *args, user=None, password=None, db=None, expect=0):
        env = dict(self.env)
        if user is not None:
            env["NIMBRA_USER"] = user
        if password is not None:
            env["NIMBRA_PASSWORD"] = password
        if db is not None:
            env["NIMBRA_DB"] = db
        done = subprocess.run([CLI, *args], env=env, capture_output=True, text=True,
                              stdin=subprocess.DEVNULL)
        self.assertEqual(done.returncode, expect,
                         f"{args}: stdout={done.stdout!r} stderr={done.stderr!r}")
        return done

    def demo(self, name="demo.mdb", bugs=60):
        db = self.path(name)
        self.run_cli("demo", db, "--bugs", str(bugs), "--today", TODAY)
        return db

    def as_admin(self, db, *args, expect=0):
        return self.run_cli(*args, "--project", PROJECT, user="Admin", password="admin",
                            db=db, expect=expect)

    def records(self, db, *args, user="Admin", password="admin"):
        done = self.run_cli("list", "--project", PROJECT, "--format", "json", *args,
                            user=user, password=password, db=db)
        return json.loads(done.stdout)

    def bug(self, db, bug_id):
        done = self.as_admin(db, "show", str(bug_id), "--format", "json")
        return json.loads(done.stdout)[0]


class CreateTest(CliCase):
    def test_create_makes_a_database_and_refuses_an_existing_file(self):
        db = self.path("new.mdb")
        self.run_cli("create", db)
        users = self.run_cli("users", "--format", "json", user="Admin", password="", db=db)
        self.assertEqual([u["Login"] for u in json.loads(users.stdout)], ["Admin"])

        with open(db, "rb") as f:
            before = f.read()
        refused = self.run_cli("create", db, expect=1)
        self.assertIn("exists already", refused.stderr)
        with open(db, "rb") as f:
            self.assertEqual(f.read(), before)

    def test_wrong_password_is_refused_with_the_engines_message(self):
        db = self.demo(bugs=0)
        refused = self.run_cli("list", "--project", PROJECT, user="jonas", password="guess",
                               db=db, expect=1)
        self.assertIn("User Name or password is incorrect!", refused.stderr)

    def test_usage_errors_exit_with_two(self):
        db = self.demo(bugs=0)
        bad_field = self.as_admin(db, "list", "--where", "Colour = red", expect=2)
        self.assertIn("There is no field Colour", bad_field.stderr)
        self.run_cli("list", "--bogus", expect=2)
        several = self.run_cli("list", user="Admin", password="admin", db=db, expect=2)
        self.assertIn("Ledgerly Desktop, Harbor Web Shop", several.stderr)


class DemoListTest(CliCase):
    def test_demo_lists_the_same_bugs_in_every_format(self):
        db = self.demo(bugs=80)
        as_json = self.records(db)
        self.assertGreater(len(as_json), 20)
        as_csv = self.as_admin(db, "list", "--format", "csv").stdout
        rows = list(csv.DictReader(io.StringIO(as_csv, newline="")))
        self.assertEqual(len(rows), len(as_json))
        self.assertEqual([int(r["ID"]) for r in rows], [r["ID"] for r in as_json])
        self.assertEqual([r["Report"] for r in rows], [r["Report"] for r in as_json])
        table = self.as_admin(db, "list").stdout.splitlines()
        self.assertEqual(len(table), len(as_json) + 1)
        self.assertTrue(table[0].startswith("ID"))

    def test_demo_is_a_believable_team_and_year(self):
        db = self.demo(bugs=120)
        listing = self.run_cli("demo", self.path("again.mdb"), "--bugs", "0").stdout
        for login, password in (("Admin", "admin"), ("maria", "maria-demo"),
                                ("jonas", "jonas-demo")):
            self.assertRegex(listing, rf"{login}\s+{password}")
        users = json.loads(self.run_cli("users", "--format", "json", user="maria",
                                        password="maria-demo", db=db).stdout)
        roles = sorted(u["Role"] for u in users)
        self.assertEqual(roles, ["Administrator", "Developer", "Developer", "Manager",
                                 "QA Person"])
        bugs = self.records(db) + json.loads(self.run_cli(
            "list", "--project", "Harbor Web Shop", "--format", "json", user="Admin",
            password="admin", db=db).stdout)
        self.assertEqual(len(bugs), 120)
        statuses = {b["Status"] for b in bugs}
        self.assertTrue({"New", "Resolved", "Verified"} <= statuses, statuses)
        self.assertTrue(any(b["DateDue"] for b in bugs))
        self.assertEqual({b["BugType"] for b in bugs}, {"Bug", "Feature"})
        for b in bugs:
            self.assertTrue("2024-06-01" <= b["ReportedDate"] <= "2025-06-02", b["ReportedDate"])
            if b["Status"] == "Verified":
                self.assertTrue(b["FixedBy"] and b["VerifiedBy"])

    def test_same_seed_and_day_give_the_same_content(self):
        first = self.demo("first.mdb", bugs=40)
        second = self.demo("second.mdb", bugs=40)
        export = lambda db: self.as_admin(db, "export", "--format", "json", "--rtf").stdout
        self.assertEqual(export(first), export(second))


class QueryTest(CliCase):
    def test_two_conditions_and_a_sort(self):
        db = self.demo(bugs=150)
        everything = self.records(db)
        chosen = self.records(db, "--where", "Severity <> Trivial",
                              "--where", "ReportedDate >= 2025-01-01",
                              "--sort", "Priority:desc", "--type", "bug")
        expected = [b["ID"] for b in everything
                    if b["Severity"] != "Trivial" and b["ReportedDate"] >= "2025-01-01"
                    and b["BugType"] == "Bug"]
        self.assertEqual(sorted(b["ID"] for b in chosen), sorted(expected))
        priorities = [b["Priority"] for b in chosen]
        self.assertEqual(priorities, sorted(priorities, reverse=True))
        like = self.records(db, "--where", "Description like '%crashes when%'", "--limit", "3")
        self.assertLessEqual(len(like), 3)
        self.assertTrue(all("crashes when" in b["Description"] for b in like))


class RightsTest(CliCase):
    def test_add_and_update_follow_the_rights(self):
        db = self.demo(bugs=10)
        added = self.run_cli("add", "--project", PROJECT, "--version", "4.2",
                             "--set", "Description=Totals wrong after import",
                             "--set", "Report=First line\nSecond line", "--set", "Priority=high",
                             user="jonas", password="jonas-demo", db=db)
        bug_id = int(added.stdout)
        bug = self.bug(db, bug_id)
        self.assertEqual((bug["Status"], bug["Priority"], bug["ReportedBy"], bug["EstimatedTime"]),
                         ("New", "High", "Jonas Becker", 60))
        self.assertEqual(bug["Report"], "First line\nSecond line")
        rtf = json.loads(self.as_admin(db, "show", str(bug_id), "--format", "json",
                                       "--rtf").stdout)[0]["Report"]
        self.assertTrue(rtf.startswith("{\\rtf1"))

        # A developer may resolve, but not rewrite the description.
        refused = self.run_cli("update", str(bug_id), "--project", PROJECT,
                               "--set", "Description=Rewritten",
                               user="tomas", password="tomas-demo", db=db, expect=1)
        self.assertIn("You have no right to edit Description, please contact your manager!",
                      refused.stderr)
        self.assertEqual(self.bug(db, bug_id)["Description"], "Totals wrong after import")
        self.run_cli("update", str(bug_id), "--project", PROJECT, "--version", "4.2",
                     "--set", "Status=resolved", "--set", "Resolution=Rounded once",
                     user="tomas", password="tomas-demo", db=db)
        bug = self.bug(db, bug_id)
        self.assertEqual((bug["Status"], bug["FixedBy"], bug["FixedInVersion"], bug["Resolution"]),
                         ("Resolved", "Tomás Herrera", "4.2", "Rounded once"))
        # Nor may a developer report at all: the engine refuses, nothing is added.
        count = len(self.records(db))
        refused = self.run_cli("add", "--project", PROJECT, "--version", "4.2",
                               "--set", "Description=Mine", user="tomas",
                               password="tomas-demo", db=db, expect=1)
        self.assertIn("You have no right to Add bug", refused.stderr)
        self.assertEqual(len(self.records(db)), count)


class TransferTest(CliCase):
    def comparable(self, records):
        return sorted((tuple((k, v) for k, v in r.items() if k not in KEPT_BY_TRACKER)
                       for r in records), key=repr)

    def test_export_then_import_gives_the_same_bugs(self):
        source = self.demo("source.mdb", bugs=50)
        for form in ("json", "csv"):
            exported = self.path("bugs." + form)
            self.as_admin(source, "export", "--format", form, "--output", exported)
            target = self.demo("target-" + form + ".mdb", bugs=0)
            ids = self.as_admin(target, "import", "--format", form, exported).stdout.split()
            self.assertEqual(len(ids), len(json.loads(self.as_admin(
                source, "export", "--format", "json").stdout)))
            self.assertEqual(
                self.comparable(json.loads(self.as_admin(target, "export", "--format",
                                                         "json").stdout)),
                self.comparable(json.loads(self.as_admin(source, "export", "--format",
                                                         "json").stdout)))

    def test_a_bad_row_adds_nothing_and_is_named(self):
        source = self.demo("source.mdb", bugs=10)
        records = json.loads(self.as_admin(source, "export", "--format", "json").stdout)
        records[3]["Status"] = "Forgotten"
        broken = self.path("broken.json")
        with open(broken, "w") as f:
            json.dump(records, f)
        target = self.demo("target.mdb", bugs=0)
        refused = self.as_admin(target, "import", "--format", "json", broken, expect=2)
        self.assertIn("Row 4", refused.stderr)
        self.assertEqual(self.records(target), [])


class ServerTransferTest(CliCase):
    """Runs under scripts/with-test-server.sh, which names the server."""

    def server_database(self):
        server = os.environ.get("LINDOR_TEST_SERVER", "")
        self.assertTrue(server, "no test server: run under scripts/with-test-server.sh")
        schema = "cli_" + os.urandom(6).hex()
        host = server.split("host=", 1)[1].split("&", 1)[0]
        user = server.split("://", 1)[1].split("@", 1)[0]
        quiet = dict(os.environ, PGOPTIONS="-c client_min_messages=warning")
        psql = ["psql", "-h", host, "-U", user, "-d", "lindor", "-qc"]
        subprocess.run(psql + [f"CREATE SCHEMA {schema}"], check=True, env=quiet)
        self.addCleanup(subprocess.run, psql + [f"DROP SCHEMA {schema} CASCADE"], check=True,
                        env=quiet)
        return f"{server}&options=-csearch_path%3D{schema}%2Cpublic"

    def test_export_from_a_file_then_import_into_a_server_gives_the_same_bugs(self):
        source = self.demo("source.mdb", bugs=40)
        target = self.server_database()
        self.run_cli("demo", target, "--bugs", "0", "--today", TODAY)
        exported = self.path("bugs.json")
        self.as_admin(source, "export", "--format", "json", "--output", exported)
        ids = self.as_admin(target, "import", "--format", "json", exported).stdout.split()
        with open(exported) as f:
            self.assertEqual(len(ids), len(json.load(f)))
        self.assertEqual(TransferTest.comparable(self, self.records(target)),
                         TransferTest.comparable(self, self.records(source)))
        found = self.records(target, "--where", "Description LIKE '%" +
                             self.records(source)[0]["Description"][:6].upper() + "%'")
        self.assertTrue(found, "texts compare without regard to case on the server")


class AttachmentTest(CliCase):
    def test_an_attachment_comes_back_byte_for_byte(self):
        db = self.demo(bugs=5)
        data = bytes((i * 7919) % 256 for i in range(50000)) + os.urandom(3000)
        original = self.path("trace.bin")
        with open(original, "wb") as f:
            f.write(data)
        self.as_admin(db, "attach", "2", original)
        listed = json.loads(self.as_admin(db, "attachments", "2", "--format", "json").stdout)
        self.assertIn(("trace.bin", len(data)), [(a["FileName"], a["FileSize"]) for a in listed])
        copy = self.path("copy.bin")
        self.as_admin(db, "get-attachment", "2", "trace.bin", copy)
        with open(copy, "rb") as f:
            self.assertEqual(f.read(), data)
        refused = self.as_admin(db, "get-attachment", "2", "trace.bin", copy, expect=1)
        self.assertIn("exists already", refused.stderr)


class SessionTest(CliCase):
    def test_the_project_is_chosen_by_name_or_asked_for(self):
        db = self.demo(bugs=10)
        asked = self.run_cli("list", user="maria", password="maria-demo", db=db, expect=2)
        self.assertIn("Ledgerly Desktop", asked.stderr)
        self.assertIn("Harbor Web Shop", asked.stderr)
        by_lower_case = self.run_cli("list", "--project", PROJECT.lower(), "--format", "json",
                                     user="maria", password="maria-demo", db=db)
        self.assertEqual(len(json.loads(by_lower_case.stdout)), len(self.records(db)))
        self.run_cli("list", "--project", "No Such Project", user="maria",
                     password="maria-demo", db=db, expect=2)

    def test_version_alone_prints_the_programs_version(self):
        printed = self.run_cli("--version").stdout.strip()
        self.assertRegex(printed, r"^nimbra-cli \d+\.\d+\.\d+$")


class LifecycleTest(CliCase):
    def test_plain_text_is_stored_as_rich_text_and_given_back_plain(self):
        db = self.demo(bugs=5)
        new_id = self.as_admin(db, "add", "--version", "4.0", "--set", "Description=Crash on start",
                               "--set", "Report=line one\nline two").stdout.strip()
        stored = json.loads(self.as_admin(db, "show", new_id, "--rtf", "--format", "json").stdout)
        self.assertTrue(stored[0]["Report"].startswith("{\\rtf1"))
        self.assertEqual(self.bug(db, new_id)["Report"], "line one\nline two")

    def test_delete_takes_the_bugs_attachments_with_it(self):
        db = self.demo(bugs=5)
        new_id = self.as_admin(db, "add", "--version", "4.0",
                               "--set", "Description=Doomed").stdout.strip()
        attached = self.path("note.txt")
        with open(attached, "w") as f:
            f.write("kept until the bug goes")
        self.as_admin(db, "attach", new_id, attached)
        self.as_admin(db, "delete", new_id)
        gone = self.as_admin(db, "show", new_id, expect=1)
        self.assertIn(f"no bug {new_id}", gone.stderr)
        with sqlite3.connect(db) as stored:
            left = stored.execute("SELECT COUNT(*) FROM tAttachment WHERE BugID = ?",
                                  (int(new_id),)).fetchone()[0]
        self.assertEqual(left, 0)


if __name__ == "__main__":
    CLI = sys.argv.pop(1)
    unittest.main()
