"""A stand-in for the fit module: answers what answer.json in the working directory says
and records each call in calls.json."""
import json


def _answer(name, args):
    with open('calls.json', 'w') as record:
        json.dump({'function': name, 'args': [list(a) if isinstance(a, tuple) else a for a in args]}, record)
    with open('answer.json') as answer:
        wanted = json.load(answer)
    kind, value = wanted['kind'], wanted.get('value')
    if kind == 'raise':
        raise ValueError(value)
    if kind == 'none':
        return None
    if kind == 'list':
        # Non-finite numbers travel as text: JSON has no NaN.
        return [float(v) if isinstance(v, str) else v for v in value]
    return value


def LM1COMP(times, concentrations, intercept, slope):
    return _answer('LM1COMP', (times, concentrations, intercept, slope))


def doubleExpFit(times, concentrations, p1, p2, p3, p4):
    return _answer('doubleExpFit', (times, concentrations, p1, p2, p3, p4))
