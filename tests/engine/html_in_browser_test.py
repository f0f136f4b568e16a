#!/usr/bin/env python3
"""The HTML page in a real browser: Debian's Chromium, headless, opens a page that tolvane-cli
wrote, and a script measures where each reading and its character came out. Every reading must
stand above its character, centred over it, at a size one can read, and apart from its
neighbours' readings.

    python3 tests/engine/html_in_browser_test.py path/to/tolvane-cli
"""
import json
import re
import subprocess
import sys
import tempfile
from pathlib import Path

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync"]

MEASURE = """
<script>
window.addEventListener('load', () => {
  const boxes = [];
  for (const ruby of document.querySelectorAll('ruby')) {
    // The boxes of the two texts themselves, not of the elements around them.
    const box = (node) => {
      const range = document.createRange();
      range.selectNodeContents(node);
      return range.getBoundingClientRect();
    };
    const rt = box(ruby.querySelector('rt').firstChild);
    const base = box(ruby.firstChild);
    boxes.push({text: ruby.firstChild.textContent, reading: ruby.querySelector('rt').textContent,
                size: parseFloat(getComputedStyle(ruby).fontSize),
                rtSize: parseFloat(getComputedStyle(ruby.querySelector('rt')).fontSize),
                rt: [rt.left, rt.top, rt.right, rt.bottom],
                base: [base.left, base.top, base.right, base.bottom]});
  }
  const out = document.createElement('pre');
  out.id = 'measured';
  out.textContent = JSON.stringify(boxes);
  document.body.appendChild(out);
});
</script>
"""


def main():
    cli = Path(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        source = work / "lesson.txt"
        source.write_text("我爱北京天安门，天安门上红旗飘\n\n长城 & <重庆> 國😀\n", encoding="utf-8")
        page = work / "lesson.html"
        subprocess.run([str(cli), "convert", "--quiet", "--polyphone", "context", str(source),
                        str(page)], check=True)
        html = page.read_text(encoding="utf-8")
        # The short first line titles the page.
        if "<title>我爱北京天安门，天安门上红旗飘</title>" not in html or '<meta charset="utf-8">' not in html:
            failures.append("the page has no title or charset")
        measured_page = work / "measured.html"
        measured_page.write_text(html.replace("</body>", MEASURE + "</body>"), encoding="utf-8")
        result = subprocess.run(
            ["chromium", *CHROMIUM_FLAGS, f"--user-data-dir={work / 'profile'}",
             "--virtual-time-budget=5000", "--dump-dom", measured_page.as_uri()],
            capture_output=True, text=True, timeout=120)
        found = re.search(r'<pre id="measured">(.*?)</pre>', result.stdout, re.S)
        if not found:
            sys.exit("FAIL: no measurements from the browser:\n" + result.stderr[-2000:])
        boxes = json.loads(found.group(1).replace("&quot;", '"').replace("&amp;", "&")
                           .replace("&lt;", "<").replace("&gt;", ">"))
        readings = [b["reading"] for b in boxes]
        expected = ["wǒ", "ài", "běi", "jīng", "tiān", "ān", "mén", "tiān", "ān", "mén", "shàng",
                    "hóng", "qí", "piāo", "cháng", "chéng", "chóng", "qìng", "guó"]
        if readings != expected:
            failures.append(f"readings {readings}")
        for b in boxes:
            rt_left, rt_top, rt_right, rt_bottom = b["rt"]
            base_left, base_top, base_right, base_bottom = b["base"]
            # Text boxes hold the font's ascent and descent, so they may touch: the reading must
            # start above the character and end above its middle.
            if not (rt_top < base_top and rt_bottom <= (base_top + base_bottom) / 2):
                failures.append(f"{b['text']}: reading not above its character {b}")
            centre_rt = (rt_left + rt_right) / 2
            centre_base = (base_left + base_right) / 2
            if abs(centre_rt - centre_base) > 1.5:
                failures.append(f"{b['text']}: reading not centred ({centre_rt} against {centre_base})")
        # Characters at about one and a half times a browser's text (16 px), readings at 12 px
        # or more, and no reading running into the next one on its line.
        for b in boxes:
            if b["size"] < 22 or b["rtSize"] < 12:
                failures.append(f"{b['text']}: too small ({b['size']} px, reading {b['rtSize']} px)")
        for left, right in zip(boxes, boxes[1:]):
            if abs(left["rt"][1] - right["rt"][1]) < 1 and left["rt"][2] >= right["rt"][0]:
                failures.append(f"{left['reading']} and {right['reading']} touch")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print(f"ok: {len(boxes)} readings above and centred over their characters")


if __name__ == "__main__":
    main()
