#!/usr/bin/env python3
"""Generates data/polyphone_model.bin, the polyphone model of reading by context, and
data/G2PM-LICENSE.txt beside it. Offline and deterministic (two runs give identical bytes):

    tools/fetch_context_inputs.sh                             # once: Debian's python3-numpy
    python3 tools/gen_polyphone_model.py [../shared/data/g2pm] [--corpus SENTENCES.tsv]

Input: the g2pM weights and vocabulary (kakaobrain/g2pM at commit
170526efad0a3ef9b55a9ad4579f73218f9be06c, Apache-2.0), converted to numpy arrays: a folder
holding weights.npz, vocab.json and LICENSE. The folder defaults to ../shared/data/g2pm beside the
repository.

The model is a one-layer bidirectional LSTM (32 hidden units each way) over character
embeddings, then a 64 -> 32 ReLU layer and a 32 -> classes layer. What the program needs of it,
precomputed so that a step of the recurrence costs one 128x32 product per direction:

- for every character of the vocabulary and each direction, the input part of the gates:
  embedding . W_ih^T + b_ih + b_hh (128 values, PyTorch's gate order i, f, g, o);
- the recurrent matrices W_hh of both directions, the two output layers;
- only the rows of the last layer that some polyphone's reading needs, and only the polyphones
  whose character is in the vocabulary (the others would be read from the unknown token alone);
- each polyphone's candidate readings in the program's spelling: numbered, 5 for the neutral
  tone, v for u-umlaut in lv and nv only (lue, nue);
- each polyphone's usual reading, where it has one: the model run over the sentences of a
  corpus (by default the g2pL training sentences, Apache-2.0, read where they lie; only the
  counts are kept) gives it in at least 95% of the polyphone's occurrences. Where the words give
  a character its usual reading, the program does not run the model (的, 和, 上 ...).

Layout: a text banner (lines starting with "#"), then the binary part, little-endian:

    8 bytes  magic "TVPOLYMD"
    u32      version (1)
    u32 x 8  vocabulary size V, hidden size H (32), dense size D (32), classes C,
             polyphones P, and the vocabulary indexes of the unknown, begin and end tokens
    u32 x V  the vocabulary's code points (0 for the padding and unknown tokens)
    f32      forward input gates [V][4H], backward input gates [V][4H],
             forward W_hh [4H][H], backward W_hh [4H][H],
             dense weight [D][2H], dense bias [D], output weight [C][D], output bias [C]
    C times  u8 length, the reading's bytes
    P times  u32 code point, u8 count, u8 usual (the candidate the model gives in at least 95%
             of the polyphone's occurrences in a corpus, 255 for none), count x u16 class index
             (sorted by code point)
"""
import argparse
import hashlib
import json
import re
import struct
import sys
from pathlib import Path

try:
    import numpy as np
except ImportError:
    sys.exit("numpy is missing: tools/fetch_context_inputs.sh installs Debian's python3-numpy "
             "(run with /usr/bin/python3 if another python3 comes first on PATH)")

TOOLS = Path(__file__).resolve().parent
ROOT = TOOLS.parent
DEFAULT_INPUT = ROOT.parent / "shared" / "data" / "g2pm"
DEFAULT_CORPUS = ROOT.parent / "shared" / "data" / "g2pl" / "train.tsv"
# A polyphone whose reading the model gives in at least this share of its occurrences in the
# corpus (and that occurs at least MIN_OCCURRENCES times) has that reading as its usual one: the
# program need not run the model where the words already give it.
USUAL_SHARE = 0.95
MIN_OCCURRENCES = 30
MAGIC = b"TVPOLYMD"
VERSION = 1
SOURCE = ("kakaobrain/g2pM (https://github.com/kakaobrain/g2pM) at commit "
          "170526efad0a3ef9b55a9ad4579f73218f9be06c, folder g2pM/")
SYLLABLE = re.compile(r"[a-z]+[1-5]")


def program_spelling(reading):
    """'nu:e4' -> 'nue4', 'lu:3' -> 'lv3', as the phrase data and the built-in tables write."""
    s = reading.strip().lower()
    s = re.sub(r"^([ln])u:e", r"\1ue", s)
    s = s.replace("u:", "v")
    if not SYLLABLE.fullmatch(s):
        sys.exit(f"unexpected reading {reading!r} in vocab.json")
    return s


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def arguments():
    parser = argparse.ArgumentParser(description="Writes the polyphone model of reading by context.")
    parser.add_argument("input", type=Path, nargs="?", default=DEFAULT_INPUT,
                        help="folder of weights.npz, vocab.json and LICENSE "
                             "(default: ../shared/data/g2pm beside the repository)")
    parser.add_argument("--corpus", type=Path, default=DEFAULT_CORPUS,
                        help="sentences (first TAB field of each line) the usual readings are "
                             "counted on (default: ../shared/data/g2pl/train.tsv)")
    parser.add_argument("--out", type=Path, default=ROOT / "data",
                        help="folder the model and its licence go to (default: data/)")
    return parser.parse_args()


def sigmoid(x):
    return 1.0 / (1.0 + np.exp(-x))


def run_direction(gates_in, w_hh, lengths):
    """One LSTM direction over a batch: gates_in [batch, steps, 4H] (input part, biases in),
    zero initial states. Returns the hidden states [batch, steps, H]."""
    batch, steps, _ = gates_in.shape
    hidden_size = w_hh.shape[1]
    h = np.zeros((batch, hidden_size), dtype=np.float32)
    c = np.zeros((batch, hidden_size), dtype=np.float32)
    out = np.zeros((batch, steps, hidden_size), dtype=np.float32)
    for t in range(steps):
        g = gates_in[:, t, :] + h @ w_hh.T
        i, f, gg, o = np.split(g, 4, axis=1)
        c = sigmoid(f) * c + sigmoid(i) * np.tanh(gg)
        h = sigmoid(o) * np.tanh(c)
        out[:, t, :] = h
    return out


def usual_readings(sentences, index, vocab, forward_in, backward_in, weights, polyphones,
                   class_index):
    """{code point: (candidate position, share, occurrences)}: how often the model, run over each
    sentence as the program runs it, gives a polyphone each of its readings."""
    counts = {cp: np.zeros(len(readings), dtype=np.int64) for cp, readings in polyphones}
    rows = {cp: np.array([class_index[r] for r in readings]) for cp, readings in polyphones}
    unk, bos, eos = index[vocab["unk"]], index[vocab["bos"]], index[vocab["eos"]]
    dense_w, dense_b = weights["logit_layer.0.weight"], weights["logit_layer.0.bias"]
    out_w, out_b = weights["logit_layer.2.weight"], weights["logit_layer.2.bias"]
    sentences = sorted(sentences, key=len)
    for start in range(0, len(sentences), 512):
        chunk = sentences[start:start + 512]
        steps = max(len(s) for s in chunk) + 2
        ids = np.zeros((len(chunk), steps), dtype=np.int64)
        reverse = np.zeros((len(chunk), steps), dtype=np.int64)
        lengths = []
        for b, sentence in enumerate(chunk):
            tokens = [bos] + [index.get(ch, unk) for ch in sentence] + [eos]
            ids[b, :len(tokens)] = tokens
            reverse[b, :len(tokens)] = tokens[::-1]
            lengths.append(len(tokens))
        fwd = run_direction(forward_in[ids], weights["lstm.weight_hh_l0"], lengths)
        bwd = run_direction(backward_in[reverse], weights["lstm.weight_hh_l0_reverse"], lengths)
        for b, sentence in enumerate(chunk):
            n = lengths[b]
            for k, ch in enumerate(sentence):
                cp = ord(ch)
                if cp not in counts:
                    continue
                both = np.concatenate([fwd[b, k + 1], bwd[b, n - 2 - k]])
                dense = np.maximum(dense_w @ both + dense_b, 0)
                scores = out_w[rows[cp]] @ dense + out_b[rows[cp]]
                counts[cp][int(np.argmax(scores))] += 1
    usual = {}
    for cp, count in counts.items():
        total = int(count.sum())
        best = int(np.argmax(count))
        if total >= MIN_OCCURRENCES and count[best] >= USUAL_SHARE * total:
            usual[cp] = best
    return usual


def main():
    args = arguments()
    weights_file = args.input / "weights.npz"
    vocab_file = args.input / "vocab.json"
    licence_file = args.input / "LICENSE"
    for path in (weights_file, vocab_file, licence_file, args.corpus):
        if not path.exists():
            sys.exit(f"{path} is missing")
    weights = dict(np.load(weights_file))
    vocab = json.loads(vocab_file.read_text(encoding="utf-8"))

    chars = vocab["chars"]
    index = {c: i for i, c in enumerate(chars)}
    code_points = [ord(c) if len(c) == 1 else 0 for c in chars]
    embedding = weights["embedding.weight"].astype(np.float64)
    hidden = weights["lstm.weight_hh_l0"].shape[1]
    dense = weights["logit_layer.0.weight"].shape[0]

    def input_gates(suffix):
        w = weights["lstm.weight_ih_l0" + suffix].astype(np.float64)
        b = weights["lstm.bias_ih_l0" + suffix].astype(np.float64) + \
            weights["lstm.bias_hh_l0" + suffix].astype(np.float64)
        return (embedding @ w.T + b).astype("<f4")

    # The polyphones the vocabulary knows, and the classes their readings need.
    polyphones = sorted((ord(c), readings) for c, readings in vocab["polyphones"].items()
                        if c in index and len(c) == 1)
    class_index = {c: i for i, c in enumerate(vocab["classes"])}
    kept = sorted({class_index[r] for _, readings in polyphones for r in readings})
    kept_index = {c: i for i, c in enumerate(kept)}
    names = [program_spelling(vocab["classes"][c]) for c in kept]
    if len(set(names)) != len(names):
        sys.exit("two classes share a reading in the program's spelling")

    binary = bytearray(MAGIC)
    binary += struct.pack("<9I", VERSION, len(chars), hidden, dense, len(kept), len(polyphones),
                          index[vocab["unk"]], index[vocab["bos"]], index[vocab["eos"]])
    binary += struct.pack(f"<{len(chars)}I", *code_points)
    arrays = [
        input_gates(""),
        input_gates("_reverse"),
        weights["lstm.weight_hh_l0"],
        weights["lstm.weight_hh_l0_reverse"],
        weights["logit_layer.0.weight"],
        weights["logit_layer.0.bias"],
        weights["logit_layer.2.weight"][kept],
        weights["logit_layer.2.bias"][kept],
    ]
    for array in arrays:
        binary += np.ascontiguousarray(array, dtype="<f4").tobytes()
    for name in names:
        binary += struct.pack("<B", len(name)) + name.encode("ascii")
    forward_in, backward_in = arrays[0], arrays[1]
    sentences = [line.split("\t", 1)[0] for line in
                 args.corpus.read_text(encoding="utf-8").splitlines() if line]
    usual = usual_readings(sentences, index, vocab, forward_in, backward_in, weights, polyphones,
                           class_index)
    for cp, readings in polyphones:
        binary += struct.pack("<IBB", cp, len(readings), usual.get(cp, 0xFF))
        binary += struct.pack(f"<{len(readings)}H", *(kept_index[class_index[r]] for r in readings))

    banner = "\n".join([
        "# polyphone_model.bin: generated by tools/gen_polyphone_model.py from",
        f"#   weights.npz (sha256 {sha256(weights_file)})",
        f"#   vocab.json (sha256 {sha256(vocab_file)})",
        f"#   LICENSE (sha256 {sha256(licence_file)})",
        f"#   {args.corpus.name} (g2pL sentences, whzikaros/g2pL, Apache-2.0; sha256 "
        f"{sha256(args.corpus)}): only to count each polyphone's usual reading",
        f"# the g2pM model of {SOURCE}, converted to numpy arrays.",
        "# Do not edit; regenerate with: python3 tools/gen_polyphone_model.py",
        "#",
        "# Licence: Apache License 2.0 (see G2PM-LICENSE.txt beside this file). Derived from the",
        "# g2pM weights: the input gates are precomputed from the embeddings, and only the",
        "# polyphones of the vocabulary and their readings are kept.",
        f"# {len(chars)} characters, {len(polyphones)} polyphones, {len(kept)} readings; "
        "the binary part follows.",
    ]) + "\n"

    args.out.mkdir(parents=True, exist_ok=True)
    (args.out / "polyphone_model.bin").write_bytes(banner.encode("ascii") + bytes(binary))
    notice = (
        "polyphone_model.bin: licence and attribution\n\n"
        f"polyphone_model.bin is made from the published weights and vocabulary of g2pM, from\n"
        f"{SOURCE}\n"
        "(converted weights: the arrays converted to numpy, then precomputed and cut down by\n"
        "tools/gen_polyphone_model.py of Tolvane). g2pM, by its authors at Kakao Brain, is\n"
        "licensed under the Apache License, Version 2.0, whose text follows.\n\n"
        + licence_file.read_text(encoding="utf-8"))
    (args.out / "G2PM-LICENSE.txt").write_text(notice, encoding="utf-8")
    print(f"{args.out / 'polyphone_model.bin'}: {len(chars)} characters, {len(polyphones)} "
          f"polyphones, {len(kept)} readings")


if __name__ == "__main__":
    main()
