#!/usr/bin/env bash
# Times whole runs of the lastora program on generated club files and prints wall time and peak
# memory per run, each the best of several, with the ratio between a run and one ten times
# smaller (a linear program stays at or under 11).
#
#   bench/whole_program.sh [-b BUILD_DIR | -p PROGRAM] [-r REPEATS] [-s SCALE] [-k WORK_DIR]
#
# SCALE divides every row count (10 gives a quick run of the same shape). The inputs depend only
# on the row counts, so two builds can be compared on the same files.
set -euo pipefail

build_dir=build/release
repeats=3
scale=1
work=""
program=""
while getopts "b:p:r:s:k:" option; do
  case "$option" in
    b) build_dir="$OPTARG" ;;
    p) program="$OPTARG" ;;
    r) repeats="$OPTARG" ;;
    s) scale="$OPTARG" ;;
    k) work="$OPTARG" ;;
    *) exit 2 ;;
  esac
done

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
lastora="${program:-$build_dir/src/cli/lastora}"
[ -x "$lastora" ] || { echo "no program $lastora (build the release preset)" >&2; exit 1; }
lastora="$(cd "$(dirname "$lastora")" && pwd)/$(basename "$lastora")"
if [ -z "$work" ]; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"
cd "$work"

clock=(--now "2026-03-01 10:00:00" --yes)
run_lastora() { "$lastora" "${clock[@]}" "$@"; }

# Member lists as a club keeps them: valid IBANs at the sample banks, every tenth member paying
# from the account of the one before (a family), every seventh with umlauts, some joining or
# leaving during the year, every 25th not yet collected. "flat" lists have neither families nor
# first collections, so that one file holds every payment.
members() {
  local rows="$1" kind="$2"
  awk -v rows="$rows" -v flat="$([ "$kind" = flat ] && echo 1 || echo 0)" '
    function mod97(digits,   r, i) {
      r = 0
      for (i = 1; i <= length(digits); i++) r = (r * 10 + substr(digits, i, 1)) % 97
      return r
    }
    BEGIN {
      split("12305600 50320100 76010200 21090700", code, " ")
      split("BEISDEM1XXX MUSKDEF1XXX TESBDEM2XXX PROSDEH1XXX", bic, " ")
      split("60,00 120,00 180,00", fee, " ")
      print "Nr;Mitglied;Kontoinhaber;IBAN;BIC;Kontonummer;BLZ;Mandatsreferenz;Mandatsdatum;" \
            "Jahresbeitrag;Eintritt;Austritt;Erste Abbuchung;Einmalbetrag;Nachzahlung;Gutschrift"
      for (i = 1; i <= rows; i++) {
        payer = (!flat && i % 10 == 0) ? i - 1 : i
        bank = payer % 4 + 1
        account = sprintf("%010d", payer)
        check = sprintf("%02d", 98 - mod97(code[bank] account "131400"))
        first = (i % 7 == 0) ? "Jürgen" : "Anna"
        last = (i % 7 == 0) ? "Müller" : "Schmidt"
        holder = ((!flat && i % 10 == 0) ? "Anna" : first) " " last " " payer
        joined = (!flat && i % 11 == 0) ? sprintf("01.%02d.2026", 1 + i % 12) : "01.01.2014"
        left = (!flat && i % 13 == 0) ? "30.06.2026" : ""
        collected = (!flat && (i % 25 == 0 || i % 11 == 0)) ? "" : "15.03.2015"
        once = (i % 17 == 0) ? "12,50" : ""
        printf "%d;%s, %s %d;%s;DE%s%s%s;%s;;;TSVM-%07d;12.01.2014;%s;%s;%s;%s;%s;;\n",
               i, last, first, i, holder, check, code[bank], account, bic[bank], i,
               fee[i % 3 + 1], joined, left, collected, once
      }
    }'
}

settings() {
  sed -e 's/^Import__FILE = .*/Import__FILE = -/' \
      -e "s/^SepaFuncCOLL = .*/SepaFuncCOLL = $1/" \
      "$source_dir/examples/club/verein.ini"
}

prepare() {
  cp "$source_dir/examples/club/BLZ_Auszug.txt" .
  settings ja >verein.ini
  settings nein >flat.ini
}

# Best wall time and the peak memory of that run, over $repeats runs: "seconds kilobytes". Each run
# starts without the previous run's output folder and mandate register.
measure() {
  local best="" line
  for ((i = 0; i < repeats; i++)); do
    rm -rf out_dir bench.db bench.db-wal bench.db-shm
    /usr/bin/time -f '%e %M' -o time.txt "$@" >run.out 2>run.err || {
      echo "failed: $*" >&2
      cat run.out run.err >&2
      exit 1
    }
    line="$(tail -1 time.txt)"
    if [ -z "$best" ] || awk -v a="${line% *}" -v b="${best% *}" 'BEGIN { exit !(a < b) }'; then
      best="$line"
    fi
  done
  echo "$best"
}

rows_of() { echo $(($1 / scale)); }

members_file() {
  local rows kind="${2:-club}"
  rows="$(rows_of "$1")"
  local file="members_${kind}_$rows.csv"
  [ -f "$file" ] || members "$rows" "$kind" >"$file"
  echo "$file"
}

payments_file() {
  local rows kind="${2:-club}" settings_file=verein.ini
  rows="$(rows_of "$1")"
  [ "$kind" = flat ] && settings_file=flat.ini
  local file="payments_${kind}_$rows.csv"
  [ -f "$file" ] || run_lastora process -s "$settings_file" --no-register \
    -m "$(members_file "$1" "$kind")" -o "$file" >/dev/null
  echo "$file"
}

sepa_file() {
  local rows
  rows="$(rows_of "$1")"
  local dir="sepa_$rows"
  if [ ! -d "$dir" ]; then
    run_lastora generate -s flat.ini --no-register -p "$(payments_file "$1" flat)" -d "$dir" \
      >/dev/null
  fi
  # The flat club pays by recurring debits only: one document.
  ls "$dir"/*.xml | head -1
}

# One table row: the run at n/10 and n rows, then the ratio of their times.
row() {
  local title="$1" n="$2" small large
  shift 2
  small="$(measure_at $((n / 10)) "$@")"
  large="$(measure_at "$n" "$@")"
  printf '%-44s %8s %6.2f s %6d MB %6.2f s %6d MB %6.1f\n' "$title" "$(rows_of "$n")" \
    "${small% *}" $((${small#* } / 1024)) "${large% *}" $((${large#* } / 1024)) \
    "$(awk -v a="${small% *}" -v b="${large% *}" 'BEGIN { print (a > 0 ? b / a : 0) }')"
}

measure_at() {
  local n="$1" what="$2"
  case "$what" in
    process-csv)
      measure "$lastora" "${clock[@]}" process -s verein.ini --no-register \
        -m "$(members_file "$n")" -o out.csv ;;
    process-xlsx)
      measure "$lastora" "${clock[@]}" process -s verein.ini --no-register \
        -m "$(members_file "$n")" -o out.xlsx ;;
    import)
      measure "$lastora" import "$(members_file "$n")" -o imported.csv ;;
    check)
      measure "$lastora" "${clock[@]}" check -s flat.ini "$(sepa_file "$n")" ;;
    generate)
      measure "$lastora" "${clock[@]}" generate -s verein.ini --no-register \
        -p "$(payments_file "$n")" -d out_dir ;;
    # Identical runs would repeat their message ids, so each starts with a new register.
    generate-register)
      measure "$lastora" "${clock[@]}" generate -s verein.ini --register bench.db \
        -p "$(payments_file "$n")" -d out_dir ;;
  esac
}

prepare
echo "lastora: $lastora"
echo "host: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), best of $repeats runs"
printf '%-44s %8s %18s %18s %6s\n' "run" "rows n" "n/10 rows" "n rows" "ratio"
row "process CSV -> CSV" 100000 process-csv
row "process CSV -> .xlsx (colours)" 100000 process-xlsx
row "import CSV -> CSV" 1000000 import
row "check SEPA XML" 300000 check
row "generate CSV -> XML, list, cover sheet" 1000000 generate
row "generate, recorded in the mandate register" 100000 generate-register
