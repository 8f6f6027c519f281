"""Tests of bench/tabulate: which result stands for an operation, ratios and target marks."""

import importlib.machinery
import importlib.util
import json
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.machinery.SourceFileLoader("tabulate", os.path.join(HERE, "..", "tabulate"))
_spec = importlib.util.spec_from_loader("tabulate", _loader)
tabulate = importlib.util.module_from_spec(_spec)
_loader.exec_module(tabulate)


def entry(name, cpu, unit="ms", run_type="iteration", aggregate=None, run_name=None, error=False):
    b = {"name": name, "run_name": run_name or name, "run_type": run_type, "cpu_time": cpu,
         "time_unit": unit}
    if aggregate:
        b["aggregate_name"] = aggregate
    if error:
        b["error_occurred"] = True
    return b


def read(*benchmarks):
    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as f:
        json.dump({"context": {}, "benchmarks": list(benchmarks)}, f)
    try:
        return tabulate.read_results([f.name])[0]
    finally:
        os.unlink(f.name)


class ReadResultsTest(unittest.TestCase):
    def test_units_become_seconds(self):
        rows = [("ns", 1e-9), ("us", 1e-6), ("ms", 1e-3), ("s", 1.0)]
        for unit, scale in rows:
            with self.subTest(unit=unit):
                times = read(entry("Load/1k", 2.0, unit))
                self.assertAlmostEqual(times[("Load", "1k")], 2.0 * scale)

    def test_median_wins_over_repetitions_in_any_order(self):
        for order in (0, 1):
            runs = [entry("Load/1k", 5.0), entry("Load/1k", 1.0)]
            median = entry("Load/1k_median", 3.0, run_type="aggregate", aggregate="median",
                           run_name="Load/1k")
            mean = entry("Load/1k_mean", 9.0, run_type="aggregate", aggregate="mean",
                         run_name="Load/1k")
            items = runs + [median, mean] if order == 0 else [mean, median] + runs
            with self.subTest(order=order):
                self.assertAlmostEqual(read(*items)[("Load", "1k")], 3e-3)

    def test_fixed_iteration_names_keep_their_size(self):
        times = read(entry("CreateRuleAtEnd/100k/iterations:100", 4.0, "us"))
        self.assertIn(("CreateRuleAtEnd", "100k"), times)

    def test_failed_benchmarks_are_left_out(self):
        self.assertEqual(read(entry("Load/1k", 1.0, error=True)), {})


class TargetTest(unittest.TestCase):
    def marks(self, times, memory=None):
        rows = tabulate.target_rows(times, memory or {})[2:]
        return {row[0]: (row[1], row[3]) for row in rows}

    def test_ratios_are_marked_against_their_goals(self):
        times = {("Load", "1k"): 1.4, ("Baseline.XercesParse", "1k"): 1.0,
                 ("GetXmlData", "1k"): 1.6, ("Baseline.DomSerialize", "1k"): 1.0,
                 ("Load", "100k"): 120.0 * 1.4, ("CommitChanges", "100k"): 84.0}
        marks = self.marks(times)
        rows = [("Load / Xerces parse @1k", ("1.40", "ok")),
                ("GetXmlData / DOM write @1k", ("1.60", "MISSED")),
                ("Load 100k / 1k", ("120.00", "ok")),
                ("CommitChanges / Load @100k", ("0.50", "ok")),
                ("GetRuleById 100k / 1k", ("-", "-"))]
        for name, expected in rows:
            with self.subTest(target=name):
                self.assertEqual(marks[name], expected)

    def test_a_query_is_compared_with_loading_the_same_policy(self):
        marks = self.marks({("Query", "20k"): 0.05, ("Load", "20k"): 1.0,
                            ("Query", "100k"): 9.0, ("Load", "100k"): 1.0})
        self.assertEqual(marks["Query / Load @20k"], ("0.05", "ok"))
        self.assertEqual([m for m in marks if m.startswith("Query")], ["Query / Load @20k"])
        self.assertEqual(self.marks({("Query", "20k"): 0.2, ("Load", "20k"): 1.0})[
            "Query / Load @20k"], ("0.20", "MISSED"))

    def test_memory_is_compared_with_the_document_size(self):
        memory = {("memory", "100k"): {"bytes": 100, "resident": 900, "peak": 1100},
                  ("memory-dom", "100k"): {"bytes": 100, "resident": 50, "peak": 50}}
        marks = self.marks({}, memory)
        self.assertEqual(marks["Resident after load / bytes @100k"], ("9.00", "MISSED"))
        self.assertEqual(marks["Peak during load / bytes @100k"], ("11.00", "ok"))
        self.assertEqual(len([m for m in marks if "bytes @" in m]), 2)


if __name__ == "__main__":
    unittest.main()
