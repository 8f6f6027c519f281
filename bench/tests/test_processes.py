"""Tests of bench/processes: what a run measures, ratios and target marks."""

import importlib.machinery
import importlib.util
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.machinery.SourceFileLoader("processes", os.path.join(HERE, "..", "processes"))
_spec = importlib.util.spec_from_loader("processes", _loader)
processes = importlib.util.module_from_spec(_spec)
_loader.exec_module(processes)

P = processes


def results(**cpu_and_peak):
    """{name: (wall, cpu, peak)} with wall equal to CPU."""
    names = {"parse": P.PARSE, "xmllint": P.XMLLINT, "check": P.CHECK, "edit": P.EDIT,
             "apply": P.APPLY, "objects": P.OBJECTS, "lint": P.LINT, "query": P.QUERY,
             "merge": P.MERGE, "option_set": P.OPTION_SET, "object_remove": P.OBJECT_REMOVE}
    return {names[k]: (v[0], v[0], v[1]) for k, v in cpu_and_peak.items()}


def marks(rows):
    return {row[0]: row[3] for row in rows}


class RunTest(unittest.TestCase):
    def test_a_failing_process_stops_the_run_with_its_message(self):
        command = P.Command("fails", ["sh", "-c", "echo broken >&2; exit 3"])
        with self.assertRaisesRegex(RuntimeError, "exited with 3: broken"):
            P.run_once(command)

    def test_accepted_exit_statuses_pass(self):
        command = P.Command("lint", ["sh", "-c", "exit 1"], ok=(0, 1))
        wall, cpu, peak = P.run_once(command)
        self.assertGreater(wall, 0)
        self.assertGreaterEqual(cpu, 0)
        self.assertGreater(peak, 0)

    def test_cpu_time_is_the_childs_own(self):
        busy = P.Command("busy", ["sh", "-c", "i=0; while [ $i -lt 200000 ]; do i=$((i+1)); done"])
        idle = P.Command("idle", ["sleep", "0.2"])
        _, busy_cpu, _ = P.run_once(busy)
        idle_wall, idle_cpu, _ = P.run_once(idle)
        self.assertGreater(busy_cpu, 0.05)
        self.assertLess(idle_cpu, 0.05)
        self.assertGreaterEqual(idle_wall, 0.2)

    def test_preparation_runs_before_every_repetition(self):
        with tempfile.TemporaryDirectory() as work:
            marker = os.path.join(work, "marker")
            prepared = []

            def prepare():
                prepared.append(1)
                open(marker, "w").close()

            # Removes what the preparation made: a second run without it fails.
            command = P.Command("edit", ["sh", "-c", "rm %s" % marker], prepare=prepare)
            measured = P.measure([command], 3)
            self.assertEqual(3, len(prepared))
            self.assertEqual(["edit"], list(measured))

    def test_the_median_of_the_repetitions_stands(self):
        calls = iter([(3.0, 3.0, 30), (1.0, 1.0, 10), (2.0, 2.0, 20)])
        original = P.run_once
        P.run_once = lambda command: next(calls)
        try:
            self.assertEqual({"x": (2.0, 2.0, 20)}, P.measure([P.Command("x", [])], 3))
        finally:
            P.run_once = original


class TableTest(unittest.TestCase):
    def test_ratios_are_of_cpu_time_to_the_baselines_and_check(self):
        rows = P.size_rows("10k", results(parse=(2.0, 100e6), xmllint=(0.5, 50e6),
                                          check=(1.0, 80e6), lint=(1.1, 90e6)))
        lint = next(r for r in rows if r[0] == P.LINT + " @10k")
        self.assertEqual(["1.10 s", "1.10 s", "90 MB", "0.55", "2.20", "1.10"], lint[1:])

    def test_missing_baselines_leave_a_dash(self):
        rows = P.size_rows("1k", results(check=(1.0, 1e6)))
        self.assertEqual(["-", "-", "1.00"], rows[0][4:])

    def test_targets_are_marked_on_the_shown_value(self):
        rows = P.target_rows({"10k": results(
            parse=(1.0, 1e6), check=(1.004, 100e6), edit=(1.33, 1e6), apply=(1.9, 1e6),
            option_set=(1.3, 1e6), object_remove=(1.4, 1e6), objects=(1.15, 1e6),
            lint=(1.16, 1e6), query=(1.1, 1e6), merge=(2.4, 300e6))})
        self.assertEqual({
            "check / Xerces parse @10k": "ok",
            "edit / check @10k": "MISSED",
            "first edit / check @10k": "-",
            "option set / check @10k": "ok",
            "object remove / check @10k": "MISSED",
            "apply of 100 lines / edit @10k": "ok",
            "objects / check @10k": "ok",
            "lint / check @10k": "MISSED",
            "query / check @10k": "ok",
            "merge / 2 checks @10k": "ok",
            "merge peak / 2 check peaks @10k": "ok",
        }, marks(rows))

    def test_merge_is_judged_against_two_loads(self):
        rows = P.target_rows({"10k": results(check=(1.0, 100e6), merge=(2.5, 310e6))})
        self.assertEqual("MISSED", marks(rows)["merge / 2 checks @10k"])
        self.assertEqual("MISSED", marks(rows)["merge peak / 2 check peaks @10k"])

    def test_the_smallest_size_has_no_parse_target(self):
        rows = P.target_rows({"1k": results(parse=(1.0, 1e6), check=(2.0, 1e6))})
        self.assertNotIn("check / Xerces parse @1k", marks(rows))

    def test_many_files_are_judged_on_wall_time(self):
        # Twice the CPU time in parallel, but half the wall time: the cores are used.
        timed = {P.CHECK: (1.0, 1.0, 1e6), P.MANY_PARALLEL: (4.0, 16.0, 1e6),
                 P.MANY_SEQUENTIAL: (8.0, 8.0, 1e6)}
        self.assertEqual("ok", marks(P.target_rows({"10k": timed}))["8 checks -j / -j 1 (wall) @10k"])


class CommandsTest(unittest.TestCase):
    def test_the_edit_gets_a_fresh_copy_and_merge_a_second_file(self):
        with tempfile.TemporaryDirectory() as work:
            policy = os.path.join(work, "policy.xml")
            with open(policy, "w") as f:
                f.write("<policy><IpObject><Name>a</Name><Id>300101</Id></IpObject></policy>")
            # Stands in for fwpolicy: its format writes a document of its own.
            fwpolicy = os.path.join(work, "fwpolicy")
            with open(fwpolicy, "w") as f:
                f.write('#!/bin/sh\n[ "$1" = format ] && echo "<written/>" > "$2"\n')
            os.chmod(fwpolicy, 0o755)
            cs = {c.name: c for c in P.commands(policy, work, fwpolicy, "parse", "rules.xsd",
                                                "10k")}
            generated = "<policy><IpObject><Name>a</Name><Id>300101</Id></IpObject></policy>"
            for name, expected in ((P.EDIT, "<written/>\n"), (P.FIRST_EDIT, generated),
                                   (P.OPTION_SET, "<written/>\n"),
                                   (P.OBJECT_REMOVE, "<written/>\n")):
                edit = cs[name]
                edited = edit.argv[3]
                self.assertNotEqual(policy, edited)
                edit.prepare()
                with open(edited) as f:
                    self.assertEqual(expected, f.read(), name)
            self.assertEqual(["--type", "ip", "--id", "300101", "--force"],
                             cs[P.OBJECT_REMOVE].argv[4:])
            merged_inputs = cs[P.MERGE].argv[2:4]
            self.assertEqual(policy, merged_inputs[0])
            self.assertNotEqual(policy, merged_inputs[1])
            self.assertTrue(os.path.exists(merged_inputs[1]))
            many = cs[P.MANY_SEQUENTIAL].argv[4:]
            self.assertEqual(["-j", "1"], cs[P.MANY_SEQUENTIAL].argv[2:4])
            self.assertEqual(many, cs[P.MANY_PARALLEL].argv[2:])
            self.assertEqual(P.MANY, len(set(many)))
            self.assertTrue(all(os.path.exists(f) for f in many))

    def test_each_size_edits_what_fwpolicy_wrote_of_its_own_policy(self):
        with tempfile.TemporaryDirectory() as work:
            fwpolicy = os.path.join(work, "fwpolicy")
            with open(fwpolicy, "w") as f:
                f.write('#!/bin/sh\n[ "$1" = format ] && sed s/policy/written/g -i "$2"\n')
            os.chmod(fwpolicy, 0o755)
            for size in ("10k", "20k"):
                policy = os.path.join(work, "policy-%s.xml" % size)
                with open(policy, "w") as f:
                    f.write("<policy>%s<IpObject><Id>1</Id></IpObject></policy>" % size)
                cs = {c.name: c for c in P.commands(policy, work, fwpolicy, "parse",
                                                    "rules.xsd", size)}
                cs[P.EDIT].prepare()
                with open(cs[P.EDIT].argv[3]) as f:
                    self.assertEqual("<written>%s<IpObject><Id>1</Id></IpObject></written>" % size,
                                     f.read())


if __name__ == "__main__":
    unittest.main()
