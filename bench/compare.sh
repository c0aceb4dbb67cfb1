#!/usr/bin/env bash
# Runs Gleamcard's benchmarks beside the programs a user could pick instead,
# on the same work, interleaved round by round, and prints every ratio with
# its goal. The peers are installed here and nowhere else (Debian packages):
# gLabels' batch printer, libzint (built into a small Google Benchmark
# program), poppler's tools to look into the PDFs, openpyxl.
#
#   bench/compare.sh [rounds]      (default 5; the best round of each side counts)
#
# BUILD names the build folder (default: build-bench beside the sources).
# One section per row of the table; each prints its ratios, and the summary at
# the end repeats them all with PASS or MISS. The script exits non-zero when
# any goal is missed.
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(dirname "$HERE")
BUILD=${BUILD:-$ROOT/build-bench}
ROUNDS=${1:-5}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SUMMARY=$WORK/summary.txt
: > "$SUMMARY"

# ---------------------------------------------------------------- setup
need=()
command -v glabels-3-batch > /dev/null || need+=(glabels)
[ -f /usr/include/zint.h ] || need+=(libzint-dev)
command -v pdfinfo > /dev/null || need+=(poppler-utils)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
# Debian's own interpreter, where its python3-* packages are found.
PYTHON=/usr/bin/python3
"$PYTHON" -c 'import openpyxl' 2> /dev/null || need+=(python3-openpyxl)
if [ ${#need[@]} -gt 0 ]; then
    echo "Installing the peers: ${need[*]}"
    apt-get install -y "${need[@]}" > "$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log"; exit 1; }
fi

# A fresh folder is made for a release build; an existing one keeps its settings.
config=()
[ -f "$BUILD/CMakeCache.txt" ] || config=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
cmake -S "$ROOT" -B "$BUILD" "${config[@]}" > "$WORK/cmake.log" 2>&1 || { cat "$WORK/cmake.log"; exit 1; }
cmake --build "$BUILD" -j"$(nproc)" --target bench_label_print bench_barcode_linear bench_barcode_2d bench_export bench_xlsx_read \
    > "$WORK/build.log" 2>&1 || { tail -40 "$WORK/build.log"; exit 1; }
g++ -O2 -std=c++17 "$HERE/peers/bench_zint.cpp" -o "$WORK/bench_zint" -lzint -lbenchmark -lpthread
export QT_QPA_PLATFORM=offscreen

# Google Benchmark's JSON: "name value" lines of the real time per iteration,
# in the unit the benchmark reports, and every counter as "name.counter value".
bench_json() {
    python3 - "$1" <<'EOF'
import json, sys
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    name = b["name"].split("/")[0]
    print(name, b["real_time"])
    for key, value in b.items():
        if isinstance(value, (int, float)) and key not in ("real_time", "cpu_time", "iterations",
                                                          "repetitions", "repetition_index", "threads",
                                                          "family_index", "per_family_instance_index"):
            print(f"{name}.{key}", value)
EOF
}
# Keeps the smallest value of each name across rounds in a file of "name value" lines.
keep_best() {
    python3 - "$1" "$2" <<'EOF'
import sys
best, new = sys.argv[1], sys.argv[2]
values = {}
for path in (best, new):
    try:
        for line in open(path):
            name, value = line.split()
            value = float(value)
            values[name] = min(values.get(name, value), value)
    except FileNotFoundError:
        pass
with open(best, "w") as out:
    for name, value in sorted(values.items()):
        out.write(f"{name} {value}\n")
EOF
}
value_of() { awk -v n="$2" '$1 == n { print $2 }' "$1"; }
# ratio NAME VALUE GOAL-OPERATOR GOAL: prints and records one row.
ratio() {
    python3 - "$@" >> "$SUMMARY" <<'EOF'
import sys
name, value, op, goal = sys.argv[1], float(sys.argv[2]), sys.argv[3], float(sys.argv[4])
ok = value <= goal if op == "<=" else value >= goal
print(f"{name:<44} {value:8.3f}   goal {op} {goal:<6g} {'PASS' if ok else 'MISS'}")
EOF
    tail -1 "$SUMMARY"
}

# ---------------------------------------------------------------- label sheets
# 1,000 CR80 labels, two bound texts and a QR code per row, A4 2 x 5, to PDF.
make_glabels() { # rows file
    python3 - "$1" "$2" <<'EOF'
import sys
rows, path = int(sys.argv[1]), sys.argv[2]
csv = path + ".csv"
with open(csv, "w") as f:
    f.write("Name,City,Code\n")
    for i in range(rows):
        f.write(f"Guest number {i},City {i % 37},GC-{i:06d}\n")
identity = 'a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"'
text = ('<Object-text x="10pt" y="{y}pt" w="160pt" h="24pt" justify="Left" valign="Top" auto_shrink="False" '
        + identity + '><Span font_family="Liberation Serif" font_size="14" font_weight="Regular" '
        'font_italic="True" color="0x000000ff" line_spacing="1"><Field name="{field}"/></Span></Object-text>')
open(path, "w").write(f'''<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Bench" part="CR80-2x5" size="A4" description="CR80 cards, 2 x 5">
    <Meta category="card"/>
    <Label-rectangle id="0" width="243pt" height="153pt" round="0pt" x_waste="0pt" y_waste="0pt">
      <Markup-margin size="0pt"/>
      <Layout nx="2" ny="5" x0="18pt" y0="18pt" dx="249pt" dy="159pt"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    {text.format(y=10, field="Name")}
    {text.format(y=40, field="City")}
    <Object-barcode x="170pt" y="40pt" w="60pt" h="60pt" backend="libqrencode" style="IEC18004" text="False"
      checksum="True" color="0x000000ff" field="Code" {identity}/>
  </Objects>
  <Merge type="Text/Comma/Line1Keys" src="{csv}"/>
</Glabels-document>
''')
EOF
}
seconds_of() { # command...: wall seconds
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
section_labels() {
    echo "== Label sheets to PDF, per label (1,000 labels): Gleamcard vs gLabels ${GLABELS_VERSION:-}"
    make_glabels 1000 "$WORK/labels.glabels"
    make_glabels 10 "$WORK/start.glabels"
    for round in $(seq "$ROUNDS"); do
        "$BUILD/bench/bench_label_print" --benchmark_format=json --keep_pdf="$WORK/ours.pdf" > "$WORK/l.json"
        bench_json "$WORK/l.json" > "$WORK/l.txt"
        keep_best "$WORK/labels_ours.txt" "$WORK/l.txt"
        # gLabels starts a whole program: its start-up (a 10-label run) is taken off.
        local whole start
        whole=$(seconds_of glabels-3-batch -o "$WORK/peer.pdf" "$WORK/labels.glabels")
        start=$(seconds_of glabels-3-batch -o "$WORK/start.pdf" "$WORK/start.glabels")
        echo "peer_ms_per_label $(echo "($whole - $start) * 1000 / 990" | bc -l)" > "$WORK/p.txt"
        keep_best "$WORK/labels_peer.txt" "$WORK/p.txt"
    done
    local ours peer ours_mb peer_mb pages
    ours=$(echo "$(value_of "$WORK/labels_ours.txt" BM_PrintBoundLabels) / 1000" | bc -l)
    peer=$(value_of "$WORK/labels_peer.txt" peer_ms_per_label)
    ours_mb=$(echo "$(stat -c %s "$WORK/ours.pdf") / 1000000" | bc -l)
    peer_mb=$(echo "$(stat -c %s "$WORK/peer.pdf") / 1000000" | bc -l)
    pages=$(pdfinfo "$WORK/ours.pdf" | awk '/^Pages:/ { print $2 }')
    printf '   Gleamcard %.3f ms/label, %.2f MB, %s pages; gLabels %.3f ms/label, %.2f MB\n' \
        "$ours" "$ours_mb" "$pages" "$peer" "$peer_mb"
    printf '   floor: the PDF writer alone drawing the same pages, %.3f ms/label\n' \
        "$(echo "$(value_of "$WORK/labels_ours.txt" BM_PdfWriterFloor) / 1000" | bc -l)"
    ratio "labels: time, Gleamcard / gLabels" "$(echo "$ours / $peer" | bc -l)" "<=" 0.08
    ratio "labels: PDF size, Gleamcard / gLabels" "$(echo "$ours_mb / $peer_mb" | bc -l)" "<=" 1.0
    local found=0
    pdftotext "$WORK/ours.pdf" - | tr '\f' '\n' > "$WORK/ours.txt"
    for row in 0 517 999; do
        if grep -qx "Guest number $row" "$WORK/ours.txt"; then found=$((found + 1)); fi
    done
    ratio "labels: rows whose text pdftotext finds (of 3)" "$found" ">=" 3
}

# ---------------------------------------------------------------- symbols
# Encode + output per symbol, the same values on both sides (libzint in
# process), two ways: NAME is pixels (libzint's bitmap, ours drawn into an
# image of that bitmap's width) and NAME_Vector drawing data (libzint's vector
# output, ours the symbol's art).
# The allocator settings both sides of a symbol benchmark run with: freed
# memory is kept instead of given back (glibc trims the heap above 128 KB of
# free memory, and a bitmap of these widths frees about that much), and
# blocks as large as a bitmap come from the heap, not from a mapping of their
# own that faults its pages in again each time (setting the trim threshold
# also stops glibc from raising that mapping threshold by itself).
ALLOCATOR=(MALLOC_TRIM_THRESHOLD_=8000000 MALLOC_MMAP_THRESHOLD_=8000000)
symbol_goal() { # name: the goal of its ratio
    case $1 in
    QR | QR_Vector) echo 0.5 ;;
    *) echo 1.0 ;;
    esac
}
section_symbols() { # title, our program, benchmark names...
    local title=$1 program=$2
    shift 2
    local names=() widths=""
    for name in "$@"; do names+=("$name" "${name}_Vector"); done
    echo "== $title, encode + output per symbol: Gleamcard vs libzint $(dpkg-query -W -f '${Version}' libzint-dev 2>/dev/null)"
    # The widths of the peer's bitmaps, which ours are drawn at.
    "$WORK/bench_zint" --benchmark_format=json --benchmark_filter="^($(IFS='|'; echo "$*"))/" > "$WORK/z.json"
    bench_json "$WORK/z.json" > "$WORK/z.txt"
    for name in "$@"; do widths="$widths $name=$(value_of "$WORK/z.txt" "$name.pixels_wide" | cut -d. -f1)"; done
    # Both sides run with the allocator held steady (ALLOCATOR), so the
    # ratio compares drawing, not page faults. Each benchmark runs in a process of its own on both sides, so none
    # starts in the state another left behind (a heap grown by a wider
    # picture, vector registers left dirty by an image fill).
    for round in $(seq "$ROUNDS"); do
        for name in "${names[@]}"; do
            env "${ALLOCATOR[@]}" GLEAMCARD_BENCH_WIDTHS="$widths" "$BUILD/bench/$program" --benchmark_format=json \
                --benchmark_filter="^$name/" > "$WORK/s.json"
            bench_json "$WORK/s.json" > "$WORK/s.txt"
            keep_best "$WORK/$program.ours.txt" "$WORK/s.txt"
            env "${ALLOCATOR[@]}" "$WORK/bench_zint" --benchmark_format=json --benchmark_filter="^$name/" > "$WORK/z.json"
            bench_json "$WORK/z.json" > "$WORK/z.txt"
            keep_best "$WORK/$program.peer.txt" "$WORK/z.txt"
        done
    done
    for name in "${names[@]}"; do
        local ours peer what=pixels
        ours=$(value_of "$WORK/$program.ours.txt" "$name")
        peer=$(value_of "$WORK/$program.peer.txt" "$name")
        [[ $name == *_Vector ]] && what="drawing data"
        printf '   %-17s Gleamcard %8.2f us, libzint %8.2f us (%s)\n' "$name" "$ours" "$peer" "$what"
        ratio "symbols: $name, Gleamcard / libzint" "$(echo "$ours / $peer" | bc -l)" "<=" "$(symbol_goal "$name")"
    done
}

# ---------------------------------------------------------------- batch export
# 1,000 two-sided bound cards to PNG files: all cores against one.
section_export() {
    local cores
    cores=$(nproc)
    echo "== Batch export, 1,000 two-sided cards to PNG: $cores cores vs 1 core"
    for round in $(seq "$ROUNDS"); do
        taskset -c 0 "$BUILD/bench/bench_export" --benchmark_format=json > "$WORK/e1.json"
        bench_json "$WORK/e1.json" | awk '{ print "one_" $0 }' > "$WORK/e.txt"
        "$BUILD/bench/bench_export" --benchmark_format=json > "$WORK/en.json"
        bench_json "$WORK/en.json" | awk '{ print "all_" $0 }' >> "$WORK/e.txt"
        keep_best "$WORK/export.txt" "$WORK/e.txt"
    done
    local one all peak
    one=$(value_of "$WORK/export.txt" one_BM_ExportRows)
    all=$(value_of "$WORK/export.txt" all_BM_ExportRows)
    peak=$(value_of "$WORK/export.txt" all_BM_ExportRows.peak_MiB_at_end)
    printf '   one core %.0f ms, %s cores %.0f ms for 1,000 cards (%.2f ms a card); peak memory %.0f MiB\n' \
        "$one" "$cores" "$all" "$(echo "$all / 1000" | bc -l)" "$peak"
    local goal=4
    [ "$cores" -ge 8 ] || goal=$(echo "$cores / 2" | bc -l)
    ratio "export: throughput, $cores cores / 1 core" "$(echo "$one / $all" | bc -l)" ">=" "$goal"
}

# ---------------------------------------------------------------- xlsx read
# Two 50,000 x 10 workbooks of names and numbers (a title row and 49,999
# rows): one written by openpyxl in its streaming mode (inline strings, no
# dimension: the title row and the table come from one pass), one by our
# writer (shared strings and a dimension). Each side reads each whole in a
# process of its own: ours opens it, reads the title row and all rows;
# openpyxl's read-only mode reads all rows into a list. The floor is zlib
# inflating the worksheet part alone, from its compressed bytes in memory.
section_xlsx() {
    echo "== xlsx read, 50,000 x 10: Gleamcard vs openpyxl $(dpkg-query -W -f '${Version}' python3-openpyxl 2>/dev/null), and the zlib floor"
    "$PYTHON" - "$WORK/openpyxl.xlsx" <<'EOF'
import sys
import openpyxl
book = openpyxl.Workbook(write_only=True)
sheet = book.create_sheet("Sheet1")
sheet.append([f"Column {c}" for c in range(1, 11)])
for r in range(1, 50000):
    sheet.append([f"Name {r}-{c}" if c % 2 else r * c for c in range(1, 11)])
book.save(sys.argv[1])
EOF
    GLEAMCARD_BENCH_XLSX="$WORK/gleamcard.xlsx" "$BUILD/bench/bench_xlsx_read" --benchmark_filter=BM_Inflate > /dev/null 2>&1 # writes it
    local book
    for round in $(seq "$ROUNDS"); do
        for book in openpyxl gleamcard; do
            GLEAMCARD_BENCH_XLSX="$WORK/$book.xlsx" "$BUILD/bench/bench_xlsx_read" --benchmark_format=json > "$WORK/x.json" 2> /dev/null
            bench_json "$WORK/x.json" > "$WORK/x.txt"
            keep_best "$WORK/xlsx_ours_$book.txt" "$WORK/x.txt"
            "$PYTHON" -W ignore - "$WORK/$book.xlsx" > "$WORK/o.txt" <<'EOF'
import resource, sys, time
import openpyxl
start = time.perf_counter()
rows = list(openpyxl.load_workbook(sys.argv[1], read_only=True).worksheets[0].iter_rows(values_only=True))
ms = (time.perf_counter() - start) * 1000
assert len(rows) == 50000 and len(rows[-1]) == 10
print("openpyxl_ms", ms)
print("openpyxl_MiB", resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024)
EOF
            keep_best "$WORK/xlsx_peer_$book.txt" "$WORK/o.txt"
        done
    done
    local ours peer floor ours_mib peer_mib writer
    for book in openpyxl gleamcard; do
        writer=$([ "$book" = openpyxl ] && echo openpyxl || echo Gleamcard)
        ours=$(value_of "$WORK/xlsx_ours_$book.txt" BM_ReadWorkbook)
        floor=$(value_of "$WORK/xlsx_ours_$book.txt" BM_InflateSheet)
        ours_mib=$(value_of "$WORK/xlsx_ours_$book.txt" BM_ReadWorkbook.peak_MiB)
        peer=$(value_of "$WORK/xlsx_peer_$book.txt" openpyxl_ms)
        peer_mib=$(value_of "$WORK/xlsx_peer_$book.txt" openpyxl_MiB)
        printf '   written by %-9s: Gleamcard %.1f ms, peak %.1f MiB; openpyxl %.0f ms, peak %.1f MiB; floor %.1f ms (%.1f MB inflated)\n' \
            "$writer" "$ours" "$ours_mib" "$peer" "$peer_mib" "$floor" "$(value_of "$WORK/xlsx_ours_$book.txt" BM_InflateSheet.MB)"
        if [ "$book" = openpyxl ]; then
            ratio "xlsx ($writer's): time, openpyxl / Gleamcard" "$(echo "$peer / $ours" | bc -l)" ">=" 30
            ratio "xlsx ($writer's): time, Gleamcard / zlib floor" "$(echo "$ours / $floor" | bc -l)" "<=" 4
        else
            ratio "xlsx ($writer's): time, openpyxl / Gleamcard" "$(echo "$peer / $ours" | bc -l)" ">=" 20
        fi
        ratio "xlsx ($writer's): peak memory, Gleamcard / openpyxl" "$(echo "$ours_mib / $peer_mib" | bc -l)" "<=" 1.0
    done
}

GLABELS_VERSION=$(dpkg-query -W -f '${Version}' glabels 2>/dev/null || true)
section_labels
section_symbols "Code 128 / Code 39 (mixed-case texts and IDs) / EAN-13" bench_barcode_linear Code128 Code128Id Code39 Code39Id EAN13
section_symbols "QR (M) / PDF417 / DataMatrix" bench_barcode_2d QR PDF417 DataMatrix
section_export
section_xlsx

echo
echo "== Every ratio (machine load $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores)"
cat "$SUMMARY"
# Any goal missed fails the run.
! grep -q 'MISS$' "$SUMMARY"
