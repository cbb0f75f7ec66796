"""The shipped fit module's contract, its accuracy on the reference subjects, and its
failure texts."""
import csv
import math
import os
import sys
import unittest

SHIPPED = os.path.join(os.path.dirname(__file__), "..", "python")
sys.path.insert(0, os.environ.get("ZELKORA_FIT_MODULE_DIR", SHIPPED))
import fit  # noqa: E402

DATA = os.environ.get("ZELKORA_TEST_DATA", os.path.join(os.path.dirname(__file__), "data"))


def read_subject(number):
    with open(os.path.join(DATA, "reference", "indomethacin_subject_%d.csv" % number)) as f:
        rows = list(csv.DictReader(f))
    return tuple(float(r["time"]) for r in rows), tuple(float(r["conc"]) for r in rows)


def references():
    with open(os.path.join(DATA, "reference", "indomethacin_reference.csv")) as f:
        return list(csv.DictReader(f))


def loglinear(t, y):
    n = len(t)
    sx, sxx = sum(t), sum(x * x for x in t)
    sl = sum(math.log(v) for v in y)
    sxl = sum(x * math.log(v) for x, v in zip(t, y))
    d = n * sxx - sx * sx
    return (sxx * sl - sx * sxl) / d, (n * sxl - sx * sl) / d


def rss(params, t, y):
    if len(params) == 2:
        return sum((params[0] * math.exp(-params[1] * x) - v) ** 2 for x, v in zip(t, y))
    p1, p2, p3, p4 = params
    return sum((p1 * math.exp(-p2 * x) + p3 * math.exp(-p4 * x) - v) ** 2 for x, v in zip(t, y))


def significant(a, b, digits=6):
    return abs(a - b) <= 0.5 * 10 ** (1 - digits) * abs(b)


class Contract(unittest.TestCase):
    def test_results_are_lists_of_floats(self):
        t = (0.5, 1.0, 2.0, 4.0, 8.0)
        y = tuple(10 * math.exp(-1.5 * x) + 5 * math.exp(-0.2 * x) for x in t)
        two = fit.doubleExpFit(t, y, 1.0, 0.1, 1.0, 0.1)
        self.assertIsInstance(two, list)
        self.assertEqual(len(two), 4)
        self.assertTrue(all(isinstance(v, float) for v in two))
        for got, want in zip(two, (10, 1.5, 5, 0.2)):
            self.assertAlmostEqual(got, want, places=6)
        a, b = loglinear(t, y)
        one = fit.LM1COMP(t, y, a, b)
        self.assertIsInstance(one, list)
        self.assertEqual(len(one), 2)

    def test_fast_phase_first_whatever_the_start(self):
        t = (0.25, 0.5, 1, 2, 3, 4, 6, 8, 12)
        y = tuple(4 * math.exp(-0.1 * x) + 8 * math.exp(-2.0 * x) for x in t)
        for start in ((1, 0.1, 1, 0.1), (8, 0.1, 4, 2.0), (0, 0, 0, 0), (-5, -1, 3, 7)):
            p = fit.doubleExpFit(t, y, *start)
            self.assertIsInstance(p, list, start)
            self.assertGreater(p[1], p[3])
            self.assertAlmostEqual(p[0], 8, places=6)
            self.assertAlmostEqual(p[3], 0.1, places=6)

    def test_one_compartment_with_a_zero_concentration(self):
        t = (0.5, 1, 2, 4, 8, 16)
        y = (8.0, 6.1, 3.6, 1.3, 0.2, 0.0)
        a, b = float("-inf"), float("nan")
        p = fit.LM1COMP(t, y, a, b)
        self.assertIsInstance(p, list)
        # The optimum has a vanishing gradient in both parameters.
        e = [math.exp(-p[1] * x) for x in t]
        r = [p[0] * ei - v for ei, v in zip(e, y)]
        self.assertLess(abs(sum(ri * ei for ri, ei in zip(r, e))), 1e-9)
        self.assertLess(abs(sum(ri * p[0] * x * ei for ri, x, ei in zip(r, t, e))), 1e-9)


class Reference(unittest.TestCase):
    def test_reference_subjects_from_the_default_start(self):
        for row in references():
            t, y = read_subject(int(row["subject"]))
            with self.subTest(subject=row["subject"], model=row["model"]):
                if row["model"] == "two_compartment":
                    got = fit.doubleExpFit(t, y, 1.0, 0.1, 1.0, 0.1)
                    want = [float(row[k]) for k in ("P1", "P2", "P3", "P4")]
                else:
                    got = fit.LM1COMP(t, y, *loglinear(t, y))
                    want = [float(row[k]) for k in ("P1", "P2")]
                self.assertIsInstance(got, list)
                for g, w in zip(got, want):
                    self.assertTrue(significant(g, w), (g, w))
                self.assertLess(abs(rss(got, t, y) - float(row["RSS"])), 1e-9 * float(row["RSS"]))


class Failures(unittest.TestCase):
    def test_failures_are_sentences(self):
        t = (0.5, 1, 2, 4, 8, 12)
        single = tuple(5 * math.exp(-0.3 * x) for x in t)
        cases = {
            "merged": (t, single),
            "not finite": (t, (1, 2, float("nan"), 1, 1, 1)),
            "same time": ((2, 2, 2, 2, 2), (5, 4, 3, 2, 1)),
            "rising": (t, (1, 2, 3, 4, 5, 6)),
        }
        for name, (times, values) in cases.items():
            with self.subTest(name):
                result = fit.doubleExpFit(times, values, 1.0, 0.1, 1.0, 0.1)
                self.assertIsInstance(result, str)
                self.assertTrue(result.endswith("."), result)
                self.assertGreater(len(result.split()), 5)

    def test_one_compartment_refuses_non_finite_data(self):
        self.assertIsInstance(fit.LM1COMP((1, 2), (1, float("inf")), 0.0, -1.0), str)


if __name__ == "__main__":
    unittest.main()
