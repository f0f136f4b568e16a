#!/usr/bin/env python3
"""The Python side of bench/python_readings.sh: times reading every line of a UTF-8 text in
numbered tones by context, best of three, the data loaded beforehand (as pinyin-pro's is):

  tolvane.readings(line, tone="numbered")       the module's function, its Converter cached
  Converter(tone="numbered").readings(line)     a Converter of one's own
  g2pM in numpy (with --g2pm FOLDER)            the published polyphone model as a Python peer:
                                                its BiLSTM over each line, a polyphone's reading
                                                the best of its candidates, any other character's
                                                from the model's own table; on the first
                                                --g2pm-lines lines, as it is slow

Prints one line per row: name, seconds, characters read (code points of the lines).

    PYTHONPATH=build/python /usr/bin/python3 bench/python_readings.py TEXT [--g2pm FOLDER]
"""
import argparse
import concurrent.futures
import os
import importlib.util
import json
import time
from pathlib import Path

import tolvane

ROOT = Path(__file__).resolve().parents[1]


def best_of_three(run):
    best = None
    for _ in range(3):
        start = time.perf_counter()
        run()
        seconds = time.perf_counter() - start
        best = seconds if best is None else min(best, seconds)
    return best


def g2pm_reader(folder):
    """A function reading one line with g2pM, built on the numpy forward pass of the model's
    test (tests/reading/polyphone_model_test.py), run in float32 as the model was trained."""
    import numpy
    found = importlib.util.spec_from_file_location(
        "polyphone_model_test", ROOT / "tests" / "reading" / "polyphone_model_test.py")
    model = importlib.util.module_from_spec(found)
    found.loader.exec_module(model)
    model.np = numpy  # the test imports numpy only when run as a program
    weights = {k: v.astype(numpy.float32) for k, v in numpy.load(folder / "weights.npz").items()}
    vocab = json.loads((folder / "vocab.json").read_text(encoding="utf-8"))
    chars = {c: i for i, c in enumerate(vocab["chars"])}
    unknown = chars[vocab["unk"]]
    classes = {c: i for i, c in enumerate(vocab["classes"])}
    candidates = {c: [classes[r] for r in rs] for c, rs in vocab["polyphones"].items()}
    single = vocab["single"]
    embedding = weights["embedding.weight"]
    forward = [weights[f"lstm.{n}_l0"] for n in ("weight_ih", "weight_hh", "bias_ih", "bias_hh")]
    backward = [weights[f"lstm.{n}_l0_reverse"]
                for n in ("weight_ih", "weight_hh", "bias_ih", "bias_hh")]
    dense_w, dense_b = weights["logit_layer.0.weight"], weights["logit_layer.0.bias"]
    out_w, out_b = weights["logit_layer.2.weight"], weights["logit_layer.2.bias"]
    class_names = vocab["classes"]

    def read(line):
        if not any(c in candidates for c in line):
            return [single.get(c, "") for c in line]
        tokens = [vocab["bos"]] + list(line) + [vocab["eos"]]
        embedded = embedding[[chars.get(t, unknown) for t in tokens]]
        ahead = model.lstm(embedded, *forward)
        behind = model.lstm(embedded[::-1], *backward)[::-1]
        result = []
        for index, character in enumerate(line):
            options = candidates.get(character)
            if options is None:
                result.append(single.get(character, ""))
                continue
            both = numpy.concatenate([ahead[index + 1], behind[index + 1]])
            dense = numpy.maximum(dense_w @ both + dense_b, 0)
            logits = out_w[options] @ dense + out_b[options]
            result.append(class_names[options[int(numpy.argmax(logits))]])
        return result

    return read


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("text")
    parser.add_argument("--g2pm", type=Path)
    parser.add_argument("--g2pm-lines", type=int, default=2000)
    arguments = parser.parse_args()
    lines = Path(arguments.text).read_text(encoding="utf-8").split("\n")
    characters = sum(len(line) for line in lines)

    tolvane.readings(lines[0], tone="numbered")  # loads the data, as every row does beforehand
    converter = tolvane.Converter(tone="numbered")
    converter.readings(lines[0])

    def module_function():
        for line in lines:
            tolvane.readings(line, tone="numbered")

    def own_converter():
        for line in lines:
            converter.readings(line)

    # The calls release the GIL. A call per line hands it between threads too often to gain
    # from them; batches of lines (readings_many) release it once per batch.
    threads = os.cpu_count() or 1
    shares = [lines[i::threads] for i in range(threads)]
    batches = [lines[i:i + 1000] for i in range(0, len(lines), 1000)]

    def threaded(read_share):
        def run():
            with concurrent.futures.ThreadPoolExecutor(threads) as pool:
                list(pool.map(read_share, shares))
        return run

    def per_line(share):
        for line in share:
            converter.readings(line)

    def in_batches(share):
        for start in range(0, len(share), 1000):
            converter.readings_many(share[start:start + 1000])

    def batched():
        for batch in batches:
            converter.readings_many(batch)

    print(f"tolvane.readings {best_of_three(module_function):.4f} {characters}")
    print(f"Converter.readings {best_of_three(own_converter):.4f} {characters}")
    print(f"Converter.readings,{threads}-threads {best_of_three(threaded(per_line)):.4f} {characters}")
    print(f"Converter.readings_many,1000-lines {best_of_three(batched):.4f} {characters}")
    print(f"Converter.readings_many,1000-lines,{threads}-threads "
          f"{best_of_three(threaded(in_batches)):.4f} {characters}")
    if arguments.g2pm and (arguments.g2pm / "weights.npz").exists():
        read = g2pm_reader(arguments.g2pm)
        sample = lines[:arguments.g2pm_lines]
        start = time.perf_counter()
        for line in sample:
            read(line)
        print(f"g2pM-numpy {time.perf_counter() - start:.4f} {sum(len(l) for l in sample)}")


if __name__ == "__main__":
    main()
