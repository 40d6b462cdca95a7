#!/usr/bin/env bash
# Runs every fuzz target for a short fixed time on seeds made from
# tests/fixtures (and every saved finding under tests/fixtures/fuzz/TARGET).
# Fails on any crash, leak, sanitizer report, timeout or broken check, and
# prints the input that caused it.
#
#   tests/fuzz/smoke.sh [BUILD_DIR]        (default build-fuzz)
#   FUZZ_SECONDS=60   seconds per target
#   FUZZ_TARGETS="fuzz_readers fuzz_sites"  a subset
#   FUZZ_KEEP=DIR     keep the grown corpora in DIR (default: thrown away)
#   FUZZ_NICE=19      run the fuzzers under nice
#   FUZZ_RUNS=N       at most N inputs per target, from a fixed random seed, so
#                     that a run repeats one already made (CI sets it)
#
# A printed input replays with: base64 -d > in; build-fuzz/tests/fuzz/TARGET in
# A finding is kept as tests/fixtures/fuzz/TARGET/NAME and replayed here first.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
fixtures="$root/tests/fixtures"
work="$(mktemp -d "${TMPDIR:-/tmp}/kavro-fuzz-smoke.XXXXXX")"
trap 'rm -rf "$work"' EXIT
# The targets' work directories go there too, so that a crash leaves nothing.
export TMPDIR="$work"

targets="${FUZZ_TARGETS:-}"
if [ -z "$targets" ]; then
  for f in "$root"/tests/fuzz/fuzz_*.cpp; do targets="$targets $(basename "$f" .cpp)"; done
fi

# seed DIR NAME PREFIX FILE: FILE with the line PREFIX put before it.
seed() { { printf '%s\n' "$3"; cat "$4"; } > "$1/$2"; }
# seeds_with DIR FILES... -- PREFIXES...: every file under every prefix.
seeds_with() {
  local dir="$1"; shift
  local files=() n=0
  while [ "$1" != "--" ]; do files+=("$1"); shift; done
  shift
  for p in "$@"; do
    for f in "${files[@]}"; do n=$((n + 1)); seed "$dir" "s$n" "$p" "$f"; done
  done
}

in="$fixtures/input"
entries=("$in/BAB68554.gb" "$in/cor6_6.gb" "$in/gbvrl1_start.seq" "$in/TRBG361.embl" "$in/F2CXE6.txt" "$in/odd/high_byte.gb")
sequences=("$in/f002" "$in/elderberry.nu" "$in/aster_pearson.pro" "$in/BAB68554.gb" "$in/TRBG361.embl" "$in/prot.m-codata" "$in/prot.m-swiss")
alignments=("$in/globins.aln" "$in/hs_owlmonkey.aln" "$in/alignment.phylip" "$in/odd/bare_header.aln" "$in/f002")

make_seeds() {
  local t="$1" dir="$2"
  case "$t" in
    fuzz_readers|fuzz_roundtrip)
      for f in "$in"/* "$in"/odd/*; do [ -f "$f" ] && [ "${f##*.}" != md ] && cp "$f" "$dir/"; done ;;
    fuzz_features)
      seeds_with "$dir" "${entries[@]}" -- "extcds" "extcds t" "cdsnuc split" "cdsnuc S 1 E 0 @addseqg" \
        "extrna S 1 E 0" "extint S 1 E 0" "noncod 1" "genlist t" ;;
    fuzz_cds_formats)
      printf 'CDS join(1..6,10..21)\n/gene="abcA"\nATGAAACCCTTTGGGTAAACGTACGTACGT\n' > "$dir/s1"
      printf 'CDS complement(join(3..11,15..>29))\nc/product="x y"\nATGAAACCCTTTGGGTAAACGTACGTACGTAAAA\n' > "$dir/s2"
      printf 'rRNA order(1..5,<7..12)\n/note="r"\nACGTACGTACGTACGTACGT\n' > "$dir/s3"
      printf 'CDS 25..6\nc/gene="circ"\nATGAAACCCTTTGGGTAAACGTACGTACGTAAAA\n' > "$dir/s4" ;;
    fuzz_getent)
      seeds_with "$dir" "${entries[@]}" "$in/f002" -- "ID=#" "AC=AB#" "OS=Homo DE=globin" "uniID=X,Y" "NO=1,3" \
        "File=list" "Split=2" "Group=list" ;;
    fuzz_sites)
      seeds_with "$dir" "${sequences[@]}" -- "1 GAATTC" "2 TATAAA 0.8" "0 RGD" "3 4.8" "1 NNRYG 1 @circular" ;;
    fuzz_toprot)
      for p in 6 1 c n a30 s30longests amax "p" "1 code2" "6 mt"; do
        for f in "$in/f002" "$in/BAB68554.gb" "$in/elderberry.nu"; do
          n=$((${n:-0} + 1))
          { printf '%s\n' "$p"; cat "$f"; printf '\n%%%%\ngene 2 join 4 9  16 21\n'; } > "$dir/s$n"
        done
      done ;;
    fuzz_tofast)
      seeds_with "$dir" "$in/f002" "$in/elderberry.nu" "$in/BAB68554.gb" "$in/globins.aln" "$in/prot.m-swiss" -- \
        "" "c" "r" "d c" "p" "p -2 mito" "i" "i c" "s" "min 12" "max 100" "b 10 5" "mask" "@line=10" ;;
    fuzz_align)
      seeds_with "$dir" "${alignments[@]}" -- "getclu ph" "getclu cl" "getclu sort" "getclu gap 0.5" \
        "getclu inf 0.1-1.0" "getclu 3 last" "simtbl" "simtbl list" "simtbl nr" "splcod" ;;
    fuzz_nucaln)
      printf '\nCLUSTAL W\n\nseqA      MKTAY\nseqB      MK-AY\n\n%%%%\n>seqA\nATGAAAACTGCTTAT\n>seqB\nATGAAAGCTTAT\n' > "$dir/s1"
      printf '1\nCLUSTAL W\n\nseqA      MKT-AY*\nseqB      MKTRAY*\n\n%%%%\n>seqA\nccATGAAAACTGCTTATTAAgg\n>seqB\nATGAAAACTCGTGCTTATTGA\n' > "$dir/s2" ;;
  esac
  # Saved findings are replayed first.
  if [ -d "$fixtures/fuzz/$t" ]; then cp "$fixtures/fuzz/$t"/* "$dir/" 2>/dev/null; fi
  return 0
}

max_len() {
  case "$1" in
    fuzz_readers|fuzz_features|fuzz_getent|fuzz_roundtrip) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

status=0
for t in $targets; do
  bin="$build/tests/fuzz/$t"
  if [ ! -x "$bin" ]; then echo "missing $bin (build with -DKAVRO_FUZZ=ON)"; status=1; continue; fi
  seeds="$work/seeds-$t"; corpus="${FUZZ_KEEP:-$work}/corpus-$t"
  mkdir -p "$seeds" "$corpus"
  make_seeds "$t" "$seeds"
  log="$work/$t.log"
  ${FUZZ_NICE:+nice -n "$FUZZ_NICE"} "$bin" -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=25 \
    ${FUZZ_RUNS:+-runs="$FUZZ_RUNS" -seed=1} -rss_limit_mb=2048 -handle_xfsz=0 -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$work/$t-" \
    "$corpus" "$seeds" > "$log" 2>&1
  rc=$?
  runs=$(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  cov=$(grep -aE '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
  if [ $rc -ne 0 ] || grep -aqE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|FUZZ CHECK FAILED' "$log"; then
    status=1
    echo "FAIL $t (status $rc)"
    grep -aE 'ERROR:|runtime error:|FUZZ CHECK FAILED|SUMMARY|^    #[0-9]' "$log" | head -40
    for a in "$work/$t-"*; do
      [ -f "$a" ] || continue
      echo "--- input $(basename "$a") ($(wc -c < "$a") bytes), escaped:"
      head -c 4000 "$a" | od -An -c | head -60
      echo "--- base64:"
      base64 -w 0 "$a"; echo
    done
  else
    echo "ok   $t: ${runs:-?} runs in ${seconds}s, ${cov:-no coverage line}"
  fi
done
exit $status
