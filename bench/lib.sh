# shellcheck shell=bash disable=SC2154
# Helpers shared by the bench scripts; sourced, never run. The caller sets build_dir (the
# folder holding pellmora-scan) and scratch (a scratch folder removed at exit). BEFORE, when set,
# names another build folder whose pellmora-scan is timed beside it as the tool "before".
before_dir=${BEFORE:-}

# Sets cmd (array), workdir and parser for a tool on folder $2.
tool_command() {
    local tool=$1 dir=$2
    workdir=$scratch/work
    parser=blocks
    case $tool in
        pellmora-scan) cmd=("$build_dir/pellmora-scan" --include-empty --min-size 0 --format text "$dir") ;;
        before) cmd=("$before_dir/pellmora-scan" --include-empty --min-size 0 --format text "$dir") ;;
        fdupes) cmd=(fdupes -rq "$dir") ;;
        jdupes) cmd=(jdupes -rqz "$dir") ;;
        rmlint) cmd=(rmlint -T df --size 0 -o fdupes:stdout --no-backup "$dir") ;;
        rdfind)
            cmd=(rdfind -ignoreempty false -makeresultsfile true -outputname "$scratch/rdfind.txt" "$dir")
            parser=rdfind ;;
        duff) cmd=(duff -r "$dir"); parser=duff ;;
    esac
}

tool_available() {
    if [[ $1 == pellmora-scan ]]; then
        [[ -x $build_dir/pellmora-scan ]]
    elif [[ $1 == before ]]; then
        [[ -n $before_dir && -x $before_dir/pellmora-scan ]]
    else
        command -v "$1" >/dev/null
    fi
}

# Runs the tool once; output to $scratch/$tool.stdout, peak RSS (KiB) to $scratch/rss,
# wall seconds to stdout.
run_once() {
    local tool=$1 start end rc
    rm -rf "$workdir" "$scratch/rdfind.txt"
    mkdir -p "$workdir"
    start=$EPOCHREALTIME
    set +e
    (cd "$workdir" && /usr/bin/time -f %M -o "$scratch/rss" "${cmd[@]}" \
        >"$scratch/$tool.stdout" 2>"$scratch/$tool.stderr")
    rc=$?
    set -e
    end=$EPOCHREALTIME
    if [[ $rc -ne 0 ]]; then
        echo "  warning: $tool exited with status $rc" >&2
        tail -n 3 "$scratch/$tool.stderr" | sed 's/^/    /' >&2
    fi
    if [[ $parser == rdfind ]]; then cp "$scratch/rdfind.txt" "$scratch/$tool.stdout"; fi
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", e - s }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# KiB (as /usr/bin/time -f %M gives them) as MiB with one decimal.
mib() { awk -v k="$1" 'BEGIN { printf "%.1f\n", k / 1024 }'; }

# Runs the command with its output thrown away; prints its wall seconds and its peak RSS in MiB.
time_and_rss() {
    local start end
    start=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$scratch/rss" "$@" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f ", e - s }'
    mib "$(cat "$scratch/rss")"
}

# a / b with two decimals, "-" when b is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
