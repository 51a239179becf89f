#!/bin/sh
# A parameter sweep of the CVD thickness of cvd-thickness.plst.in: writes one process list per
# value into runs/thickness-T/ and runs them all with voxfab-batch, several at a time with GNU
# parallel. Each run leaves its document, VTK image data and a picture beside its list.
#
#   examples/sweep/sweep.sh [FIRST LAST [JOBS]]     (default: 2 10, one job per core)
#
# VOXFAB_BATCH names the program (default: build/src/batch/voxfab-batch). Pictures need an X
# display; without one the script runs each job under xvfb-run.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
first=${1:-2}
last=${2:-10}
jobs=${3:-0}            # 0: as many as there are cores
batch=${VOXFAB_BATCH:-build/src/batch/voxfab-batch}
threads=1               # the runs share the cores; one worker thread each

# One folder and one list per value.
for t in $(seq "$first" "$last"); do
    mkdir -p "runs/thickness-$t"
    sed "s/@THICKNESS@/$t/" "$here/cvd-thickness.plst.in" > "runs/thickness-$t/steps.plst"
done

display=""
if [ -z "${DISPLAY:-}" ]; then
    display="xvfb-run -a"
fi

# --halt now,fail=1 stops the sweep at the first failed run; --joblog records each run's exit status.
seq "$first" "$last" | parallel --jobs "$jobs" --halt now,fail=1 --joblog runs/joblog.txt \
    $display "$batch" --threads $threads --list runs/thickness-{}/steps.plst \
        --output runs/thickness-{}/out.vxf --vtk runs/thickness-{}/out.vti \
        --image runs/thickness-{}/out.png --view front '>' runs/thickness-{}/log.txt '2>&1'
echo "Done: runs/thickness-$first .. runs/thickness-$last (exit statuses in runs/joblog.txt)"
