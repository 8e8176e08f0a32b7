#!/usr/bin/env bash
# Runs an ohmara executable as a user or a script would, with no display and
# no Qt platform chosen: --version, solve of the worked example in every
# form (the JSON checked against its documented schema), a bad table, a bad
# command line, a report and a set of class variants written as PDF. Used on the build's program and on the packaged one.
#   check_program.sh OHMARA SAMPLES_DIR SCHEMA [VERSION]
set -euo pipefail
ohmara=$1 samples=$2 schema=$3 version=${4:-}
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FAIL: $*" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$ohmara" --version >"$out/version" || fail "--version exited $?"
grep -Eq "^ohmara ${version:-[0-9.]+}$" "$out/version" || fail "--version printed: $(cat "$out/version")"

"$ohmara" solve "$samples/five_branch.txt" --frequency 50 --unit Гц --zero 3 >"$out/text" || fail "solve exited $?"
for line in "I12 =  3.75" "I23 =  2.5" "I31 =  3.75" "I24 =  1.25" "I43 =  1.25" "Мощность источников = 37.5"; do
  [ "$(grep -cF "$line" "$out/text")" -ge 3 ] || fail "solve by every method should print '$line'"
done

"$ohmara" solve "$samples/five_branch.txt" --format json >"$out/json" || fail "solve --format json exited $?"
python3 - "$schema" "$out/json" <<'PY' || fail "the JSON does not follow $schema"
import json, sys
import jsonschema
schema = json.load(open(sys.argv[1], encoding="utf-8"))
answer = json.load(open(sys.argv[2], encoding="utf-8"))
jsonschema.validate(answer, schema, format_checker=jsonschema.FormatChecker())
currents = {c["branch"]: c["value"]["re"] for c in answer["methods"][0]["branch_currents"]}
assert abs(currents["1->2"] - 3.75) < 1e-12, currents
assert [m["method"] for m in answer["methods"]] == ["mesh", "nodal", "optimal"]
PY

set +e
"$ohmara" solve "$samples/bad_name.txt" >"$out/stdout" 2>"$out/stderr"
code=$?
set -e
[ $code -eq 1 ] || fail "a bad table should exit 1, not $code"
grep -qF "Ветвь 2: имя «2-3» написано неверно" "$out/stderr" || fail "bad table message: $(cat "$out/stderr")"
[ ! -s "$out/stdout" ] || fail "a refusal printed results"

set +e
"$ohmara" solve --method fastest "$samples/five_branch.txt" 2>"$out/stderr"
code=$?
set -e
[ $code -eq 2 ] || fail "a usage error should exit 2, not $code"
"$ohmara" report "$samples/five_branch.txt" --frequency 50 --zero 3 -o "$out/report.pdf" || fail "report exited $?"
pdftotext "$out/report.pdf" - | grep -qF "3.75" || fail "the report PDF should hold the current 3.75"
# The table drawn as the editor draws it, as paths and texts: the source's label, no image.
pdftotext -f 1 -l 1 "$out/report.pdf" - | grep -qF "10,0" || fail "the report's drawing should label the source 10,0"
[ "$(pdfimages -list "$out/report.pdf" | tail -n +3 | wc -l)" -eq 0 ] || fail "the report's drawing should hold no image"

"$ohmara" variants --count 12 --seed 7 --loops 3 --points 6 -o "$out/set" >/dev/null || fail "variants exited $?"
[ "$(ls "$out/set"/variant-*.txt | wc -l)" -eq 12 ] || fail "variants should write 12 tables: $(ls "$out/set")"
for pdf in variants answers; do
  pdftotext "$out/set/$pdf.pdf" "$out/$pdf.txt" || fail "$pdf.pdf is no PDF"
  for n in $(seq 1 12); do
    grep -qE "Вариант $n([^0-9]|$)" "$out/$pdf.txt" || fail "$pdf.pdf lacks variant $n"
  done
done
[ "$(pdfimages -list "$out/set/variants.pdf" | tail -n +3 | wc -l)" -eq 0 ] || fail "the cards' drawings should hold no image"
"$ohmara" variants --count 12 --seed 7 --loops 3 --points 6 -o "$out/again" >/dev/null || fail "variants exited $?"
for file in "$out/set"/variant-*.txt; do
  cmp -s "$file" "$out/again/$(basename "$file")" || fail "the same seed gave another $(basename "$file")"
done
echo "ok: $ohmara"
