#!/usr/bin/env python3
# git merge driver for property lists: plistmerge.py BASE OURS THEIRS (writes OURS).
# Dictionaries merge key by key; arrays keep ours and append what theirs added to base.
import plistlib, sys
def load(p):
    try:
        with open(p, 'rb') as f: return plistlib.load(f)
    except Exception: return None
def merge(b, o, t):
    if o == t: return o
    if b == o: return t
    if b == t: return o
    if isinstance(o, dict) and isinstance(t, dict):
        b = b if isinstance(b, dict) else {}
        out = {}
        for k in list(o.keys()) + [k for k in t.keys() if k not in o]:
            if k in o and k in t: out[k] = merge(b.get(k), o[k], t[k])
            elif k in o:
                if k in b and b[k] == o[k]: continue  # theirs deleted it
                out[k] = o[k]
            else:
                if k in b and b[k] == t[k]: continue  # ours deleted it
                out[k] = t[k]
        return out
    if isinstance(o, list) and isinstance(t, list):
        b = b if isinstance(b, list) else []
        added = [x for x in t if x not in b and x not in o]
        return [x for x in o if x in t or x not in b] + added
    raise SystemExit(1)
base, ours, theirs = (load(p) for p in sys.argv[1:4])
if ours is None or theirs is None: sys.exit(1)
res = merge(base, ours, theirs)
with open(sys.argv[2], 'wb') as f: plistlib.dump(res, f, sort_keys=True)
