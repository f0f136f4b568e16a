#!/usr/bin/env python3
"""The polyphone model as the program runs it (precomputed input gates, float32, Eigen) against a
plain numpy forward pass over the original weights, on a few sentences: the scores of every
candidate reading agree within float tolerance, and so does the choice among them.

    python3 tests/reading/polyphone_model_test.py POLYPHONE_SCORES MODEL-FILE [G2PM-FOLDER]

The original weights (weights.npz, vocab.json) are not part of the repository; without them, or
without numpy, the test is skipped (exit code 77).
"""
import json
import subprocess
import sys
from pathlib import Path

SKIP = 77
ROOT = Path(__file__).resolve().parents[2]

# Sentences with a polyphone at the index: words decide some, only the clause others.
SENTENCES = [
    ("他长得很高。", 1),
    ("这条路很长。", 4),
    ("我去银行取钱，然后步行回家。", 3),
    ("我们为了明天的比赛努力训练。", 2),
    ("因为下雨了，我们没有出去。", 1),
    ("他还没还我的书。", 1),
    ("他还没还我的书。", 3),
    ("这首歌的曲调很好听，他们唱了一遍又一遍。", 5),
    ("重庆是一座重要的城市", 0),
    ("重庆是一座重要的城市", 5),
    ("了", 0),
]


def sigmoid(x):
    return 1.0 / (1.0 + np.exp(-x))


def lstm(inputs, w_ih, w_hh, b_ih, b_hh):
    hidden = np.zeros(w_hh.shape[1])
    cell = np.zeros(w_hh.shape[1])
    out = []
    for x in inputs:
        gates = w_ih @ x + b_ih + w_hh @ hidden + b_hh
        i, f, g, o = np.split(gates, 4)
        cell = sigmoid(f) * cell + sigmoid(i) * np.tanh(g)
        hidden = sigmoid(o) * np.tanh(cell)
        out.append(hidden)
    return out


def reference(weights, vocab, sentence, index):
    """The original run: begin and end tokens, both directions, two layers, all classes."""
    chars = {c: i for i, c in enumerate(vocab["chars"])}
    tokens = [vocab["bos"]] + list(sentence) + [vocab["eos"]]
    ids = [chars.get(t, chars[vocab["unk"]]) for t in tokens]
    w = {k: v.astype(np.float64) for k, v in weights.items()}
    embedded = [w["embedding.weight"][i] for i in ids]
    forward = lstm(embedded, w["lstm.weight_ih_l0"], w["lstm.weight_hh_l0"],
                   w["lstm.bias_ih_l0"], w["lstm.bias_hh_l0"])
    backward = lstm(embedded[::-1], w["lstm.weight_ih_l0_reverse"],
                    w["lstm.weight_hh_l0_reverse"], w["lstm.bias_ih_l0_reverse"],
                    w["lstm.bias_hh_l0_reverse"])[::-1]
    both = np.concatenate([forward[index + 1], backward[index + 1]])
    dense = np.maximum(w["logit_layer.0.weight"] @ both + w["logit_layer.0.bias"], 0)
    logits = w["logit_layer.2.weight"] @ dense + w["logit_layer.2.bias"]
    classes = {c: i for i, c in enumerate(vocab["classes"])}
    return {c: logits[classes[c]] for c in vocab["polyphones"].get(sentence[index], [])}


def spelling(reading):
    # The program's spelling: v only in lv and nv (lue, nue).
    return reading.replace("u:e", "ue").replace("u:", "v")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    scores_program, model_file = sys.argv[1], sys.argv[2]
    folder = Path(sys.argv[3]) if len(sys.argv) > 3 else ROOT.parent / "shared" / "data" / "g2pm"
    if not (folder / "weights.npz").exists() or not (folder / "vocab.json").exists():
        print(f"skipped: no original weights in {folder}")
        return SKIP
    weights = dict(np.load(folder / "weights.npz"))
    vocab = json.loads((folder / "vocab.json").read_text(encoding="utf-8"))
    lines = "".join(f"{s}\t{i}\n" for s, i in SENTENCES)
    result = subprocess.run([scores_program, model_file], input=lines, capture_output=True,
                            text=True, check=True)
    got_lines = result.stdout.split("\n")

    def want_of(sentence, index):
        return vocab["polyphones"].get(sentence[index])

    failures = []
    for (sentence, index), got_line in zip(SENTENCES, got_lines):
        if not want_of(sentence, index):
            failures.append(f"{sentence}[{index}] is not a polyphone of the model")
            continue
        fields = got_line.split()
        got = {fields[k]: float(fields[k + 1]) for k in range(0, len(fields), 2)}
        want = {spelling(c): v for c, v in reference(weights, vocab, sentence, index).items()}
        name = f"{sentence}[{index}] {sentence[index]}"
        if set(got) != set(want):
            failures.append(f"{name}: readings {sorted(got)}, expected {sorted(want)}")
            continue
        worst = max(abs(got[r] - want[r]) for r in want)
        if worst > 1e-3 * max(1.0, max(abs(v) for v in want.values())):
            failures.append(f"{name}: scores {got}, expected {want}")
        if max(got, key=got.get) != max(want, key=want.get):
            failures.append(f"{name}: chooses {max(got, key=got.get)}, "
                            f"expected {max(want, key=want.get)}")
        print(f"{name}: {max(got, key=got.get)}, largest difference {worst:.2e}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    try:
        import numpy as np
    except ImportError:
        print("skipped: numpy is missing (Debian's python3-numpy)")
        sys.exit(SKIP)
    sys.exit(main())
