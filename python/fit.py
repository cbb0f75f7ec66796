"""Least-squares fits of the one- and two-compartment models for Zelkora.

LM1COMP(times, concentrations, intercept, slope) -> [P1, P2] of c = P1*exp(-P2*t)
doubleExpFit(times, concentrations, p1, p2, p3, p4) -> [P1, P2, P3, P4] of
    c = P1*exp(-P2*t) + P3*exp(-P4*t), fast phase first (P2 > P4)

Both return a str that says why when no acceptable fit exists. The given starting values
are one candidate among data-driven ones (a map of the rate landscape with the amplitudes
solved linearly); every candidate is polished with MINPACK's Levenberg-Marquardt and the
best acceptable optimum is kept.
"""

import math
import warnings

import numpy as np
from scipy.optimize import least_squares

_TOLERANCE = 1e-14
_MAX_EVALUATIONS = 4000
_FIRST_EVALUATIONS = 150
_FULLY_POLISHED = 3
# Rates closer than this (relative) make the two phases one.
_MERGED = 1e-4
# A phase whose largest contribution to the curve stays below this share of the data has
# vanished from it.
_VANISHED = 1e-9
# A fast phase whose share of the curve at the second sample time falls below this fits the
# first sample alone: its rate is not determined by the data and runs off to infinity.
_SPIKE = 1e-4


def _samples(times, concentrations):
    t = np.asarray(times, dtype=float).ravel()
    y = np.asarray(concentrations, dtype=float).ravel()
    if t.size != y.size:
        return None, None, "The times and concentrations differ in number."
    if not (np.all(np.isfinite(t)) and np.all(np.isfinite(y))):
        return None, None, "The samples hold a value that is not a finite number."
    return t, y, None


def _polish(residuals, jacobian, start, evaluations=_MAX_EVALUATIONS):
    start = np.asarray(start, dtype=float)
    if not np.all(np.isfinite(start)):
        return None
    try:
        result = least_squares(residuals, start, jac=jacobian, method="lm", x_scale="jac",
                               ftol=_TOLERANCE, xtol=_TOLERANCE, gtol=_TOLERANCE,
                               max_nfev=evaluations)
    except (ValueError, FloatingPointError, np.linalg.LinAlgError):
        return None
    if not np.all(np.isfinite(result.x)) or not np.isfinite(result.cost):
        return None
    return result.x, 2.0 * result.cost


# ----------------------------------------------------------------------------------------
# One compartment


def _one_residuals(t, y):
    def residuals(p):
        return p[0] * np.exp(-p[1] * t) - y

    def jacobian(p):
        e = np.exp(-p[1] * t)
        return np.column_stack((e, -p[0] * t * e))

    return residuals, jacobian


def _one_compartment_starts(t, y, intercept, slope):
    starts = []
    if math.isfinite(intercept) and math.isfinite(slope):
        starts.append((math.exp(intercept) if intercept < 700 else 1e300, -slope))
    positive = y > 0
    if np.count_nonzero(positive) >= 2 and np.ptp(t[positive]) > 0:
        b, a = np.polyfit(t[positive], np.log(y[positive]), 1)
        starts.append((math.exp(min(a, 700.0)), -b))
    # The rate landscape: for a fixed rate the amplitude is linear.
    span = max(np.ptp(t), np.max(np.abs(t)), 1e-12)
    for k in np.geomspace(1e-3 / span, 1e3 / span, 61):
        e = np.exp(-k * t)
        ee = e @ e
        if ee > 0 and np.isfinite(ee):
            starts.append(((e @ y) / ee, k))
    return starts


def LM1COMP(times, concentrations, intercept, slope):
    with np.errstate(all="ignore"), warnings.catch_warnings():
        warnings.simplefilter("ignore")
        t, y, problem = _samples(times, concentrations)
        if problem:
            return problem
        if t.size == 0:
            return "There are no samples to fit."
        if t.size == 1:
            return "A single sample cannot determine both parameters."
        residuals, jacobian = _one_residuals(t, y)
        starts = _one_compartment_starts(t, y, float(intercept), float(slope))
        # Rank the landscape by its residual and polish the most promising starts only.
        ranked = sorted(starts, key=lambda p: float(np.sum(residuals(np.array(p)) ** 2)))
        best = None
        for start in ranked[:4] + starts[:2]:
            polished = _polish(residuals, jacobian, start)
            if polished and (best is None or polished[1] < best[1]):
                best = polished
        if best is None:
            return "The one-compartment fit did not converge."
        return [float(best[0][0]), float(best[0][1])]


# ----------------------------------------------------------------------------------------
# Two compartments


def _two_residuals(t, y):
    def residuals(p):
        return p[0] * np.exp(-p[1] * t) + p[2] * np.exp(-p[3] * t) - y

    def jacobian(p):
        e1 = np.exp(-p[1] * t)
        e2 = np.exp(-p[3] * t)
        return np.column_stack((e1, -p[0] * t * e1, e2, -p[2] * t * e2))

    return residuals, jacobian


def _rate_landscape(t, y, count=48):
    """Starts from a grid of rate pairs, each with its best linear amplitudes."""
    span = max(np.ptp(t), np.max(np.abs(t)), 1e-12)
    first = np.min(np.abs(t[t != 0])) if np.any(t != 0) else span
    rates = np.geomspace(1e-2 / span, 30.0 / max(first, 1e-12 * span), count)
    e = np.exp(-np.outer(rates, t))
    gram = e @ e.T
    projections = e @ y
    i, j = np.triu_indices(count, 1)
    determinant = gram[i, i] * gram[j, j] - gram[i, j] ** 2
    with np.errstate(all="ignore"):
        c1 = (gram[j, j] * projections[i] - gram[i, j] * projections[j]) / determinant
        c2 = (gram[i, i] * projections[j] - gram[i, j] * projections[i]) / determinant
        rss = y @ y - (c1 * projections[i] + c2 * projections[j])
    usable = np.isfinite(rss) & (determinant > 1e-12 * gram[i, i] * gram[j, j])
    starts = []
    for positive_only in (True, False):
        mask = usable & (c1 > 0) & (c2 > 0) if positive_only else usable
        order = np.argsort(np.where(mask, rss, np.inf))[:3]
        for k in order:
            if mask[k]:
                # i < j, so rates[j] is the faster phase.
                starts.append((c2[k], rates[j[k]], c1[k], rates[i[k]]))
    return starts


def _stripping_start(t, y):
    """Curve stripping: the terminal phase from the last points, the fast one from the rest."""
    order = np.argsort(t)
    ts, ys = t[order], y[order]
    tail = max(3, ts.size // 2)
    tt, yt = ts[-tail:], ys[-tail:]
    if np.any(yt <= 0) or np.ptp(tt) == 0:
        return None
    slope, intercept = np.polyfit(tt, np.log(yt), 1)
    beta, b = -slope, math.exp(min(intercept, 700.0))
    head = ts.size - tail
    rest = ys[:head] - b * np.exp(-beta * ts[:head])
    if head < 2 or np.any(rest <= 0) or np.ptp(ts[:head]) == 0:
        return None
    slope, intercept = np.polyfit(ts[:head], np.log(rest), 1)
    return (math.exp(min(intercept, 700.0)), -slope, b, beta)


def _fast_first(p):
    p1, p2, p3, p4 = (float(v) for v in p)
    return [p1, p2, p3, p4] if p2 >= p4 else [p3, p4, p1, p2]


def _flaw(p, t, y):
    """Why a fitted parameter set is not an acceptable two-compartment fit, or None."""
    p1, p2, p3, p4 = p
    if not all(math.isfinite(v) for v in p):
        return "diverged"
    if min(p) <= 0:
        return "not positive"
    if abs(p2 - p4) <= _MERGED * max(p2, p4):
        return "merged"
    scale = max(np.max(np.abs(y)), 1e-300)
    for amplitude, rate in ((p1, p2), (p3, p4)):
        if np.max(amplitude * np.exp(-rate * t)) < _VANISHED * scale:
            return "vanished"
    second = np.sort(t)[1] if t.size > 1 else t[0]
    fast = p1 * math.exp(-p2 * second)
    if fast < _SPIKE * (fast + p3 * math.exp(-p4 * second)):
        return "spike"
    return None


_FLAW_MESSAGES = {
    "diverged": "The two-compartment fit diverged: a parameter grew without bound.",
    "not positive": "No two-compartment fit with all four parameters positive fits these data.",
    "merged": "No two-compartment fit found: the two phases merge into one; the data show a "
              "single exponential phase (try the single exponential fit).",
    "vanished": "No two-compartment fit found: one phase vanishes from the fitted curve; the "
                "data show a single exponential phase (try the single exponential fit).",
    "spike": "No two-compartment fit found: the fast phase shrinks onto the first sample alone.",
}


def doubleExpFit(times, concentrations, p1, p2, p3, p4):
    with np.errstate(all="ignore"), warnings.catch_warnings():
        warnings.simplefilter("ignore")
        t, y, problem = _samples(times, concentrations)
        if problem:
            return problem
        if t.size < 4:
            return "The two-compartment fit needs at least four samples."
        if np.ptp(t) == 0:
            return "All samples were taken at the same time; no rate can be fitted."
        residuals, jacobian = _two_residuals(t, y)

        user = (float(p1), float(p2), float(p3), float(p4))
        starts = [user]
        if user[1] == user[3]:
            # Equal rates make the two phases indistinguishable: step out of that point.
            faster = user[1] * 3.0 if user[1] else 1.0
            slower = user[3] / 3.0 if user[3] else 0.1
            starts.append((user[0], faster, user[2], slower))
        stripped = _stripping_start(t, y)
        if stripped is not None:
            starts.append(stripped)
        starts.extend(_rate_landscape(t, y))

        # A first, short polish of every candidate: starts that wander off would otherwise
        # dominate the time. The most promising are then taken to full convergence until
        # three acceptable fits are in hand; a candidate that full convergence turns into a
        # flawed fit (a ridge running off to infinity, say) is not a fit.
        promising = []
        closest_flaw, closest_flaw_rss = "diverged", math.inf
        for start in starts:
            polished = _polish(residuals, jacobian, start, _FIRST_EVALUATIONS)
            if polished is None:
                continue
            candidate = _fast_first(polished[0])
            flaw = _flaw(candidate, t, y)
            if flaw:
                if polished[1] < closest_flaw_rss:
                    closest_flaw, closest_flaw_rss = flaw, polished[1]
            else:
                promising.append((polished[1], candidate))
        promising.sort(key=lambda item: item[0])
        best, best_rss, accepted = None, math.inf, 0
        for _, candidate in promising:
            if accepted == _FULLY_POLISHED:
                break
            polished = _polish(residuals, jacobian, candidate)
            if polished is None:
                continue
            final = _fast_first(polished[0])
            flaw = _flaw(final, t, y)
            if flaw:
                if best is None and polished[1] < closest_flaw_rss:
                    closest_flaw, closest_flaw_rss = flaw, polished[1]
                continue
            accepted += 1
            if polished[1] < best_rss:
                best, best_rss = final, polished[1]
        if best is None:
            return _FLAW_MESSAGES[closest_flaw]
        return best
