#!/usr/bin/env bash
# `make cluster-test`: kadrix-batch as a Slurm job array on a real one-node
# Slurm started here, in a private temporary folder, with its own munged,
# slurmctld and slurmd. Checks that the array's results equal one local run
# file for file and byte for byte, then kills one task as soon as its first
# result appears and shows its re-submission completing the set. Stops the
# daemons it started, by their process ids, and nothing else.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
batch="$build/cli/kadrix-batch"
[ -x "$batch" ] || { echo "no $batch: build first" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "cluster-test runs the Slurm daemons as root" >&2; exit 1; }

work="$(mktemp -d /tmp/kadrix-cluster.XXXXXX)"
chmod 755 "$work" # munged wants its socket folder open to all
started=() # pids of the daemons started here, in start order

stop_daemons() {
    local i pid
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        pid="${started[$i]}"
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
    started=()
}
finish() {
    local status=$?
    stop_daemons
    if [ "$status" -ne 0 ]; then
        echo "cluster-test FAILED; logs:" >&2
        tail -n 20 "$work"/*.log >&2 || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
port_free() { ! ss -Htln "sport = :$1" | grep -q .; }
free_port() {
    local p
    for ((p = $1; p < $1 + 1000; p++)); do
        port_free "$p" && { echo "$p"; return; }
    done
    echo "no free port from $1" >&2
    return 1
}
wait_for() { # seconds, description, command...
    local seconds="$1" what="$2"
    shift 2
    for ((i = 0; i < seconds * 10; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "timed out waiting for $what" >&2
    return 1
}

# --- pictures: 40 noisy JPEG sources of different sizes ---------------------
src="$work/src"
mkdir -p "$src"
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
seed_w=1600 seed_h=1200
seed_bytes=$((seed_w * seed_h * 3))
{
    printf 'BM'; le32 $((54 + seed_bytes)); le32 0; le32 54
    le32 40; le32 $seed_w; le32 $seed_h; printf '\x01\x00\x18\x00'; le32 0; le32 "$seed_bytes"
    le32 2835; le32 2835; le32 0; le32 0
    head -c "$seed_bytes" /dev/urandom
} >"$work/seed.bmp"
for ((i = 0; i < 40; i++)); do
    "$batch" --jobs 1 --format jpeg --quality 90 --prefix "" --suffix "_$i" \
        --size "$((900 + i * 17))x$((700 + i * 11))" --wipe "#$(printf %02x%02x%02x $((i * 6)) 80 $((255 - i * 6)))" \
        --out "$src" "$work/seed.bmp" >/dev/null
done
rm "$work/seed.bmp"
options=(--jobs 1 --format jpeg --size 1280x960 --number 4:1)

# --- one Slurm node ---------------------------------------------------------
mkdir -p "$work/state" "$work/spool" "$work/logs"
ctld_port=$(free_port 26817)
slurmd_port=$(free_port $((ctld_port + 1)))
cat >"$work/slurm.conf" <<CONF
ClusterName=kadrixtest
SlurmctldHost=localhost
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$work/munge.socket.2
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
SchedulerType=sched/backfill
MpiDefault=none
ReturnToService=2
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=local Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
echo "CgroupPlugin=cgroup/v1" >"$work/cgroup.conf"
export SLURM_CONF="$work/slurm.conf"

mungekey --create --keyfile "$work/munge.key"
munged -F --socket="$work/munge.socket.2" --key-file="$work/munge.key" \
    --pid-file="$work/munged.pid" --log-file="$work/munged.log" \
    --seed-file="$work/munged.seed" 2>>"$work/munged.log" &
started+=($!)
wait_for 10 "munged" test -S "$work/munge.socket.2"
slurmctld -D -i 2>>"$work/slurmctld.log" &
started+=($!)
wait_for 20 "slurmctld" scontrol ping
slurmd -D 2>>"$work/slurmd.log" &
started+=($!)
wait_for 30 "the node" bash -c '[ "$(sinfo -h -n localhost -o %T)" = idle ]'

cat >"$work/task.sh" <<TASK
#!/bin/bash
# One array task: its share by --shard auto, or the one KADRIX_SHARD names
# when a single task is submitted again.
exec "$batch" --json --shard "\${KADRIX_SHARD:-auto}" ${options[*]} --out "\$KADRIX_OUT" "$src"
TASK
chmod +x "$work/task.sh"

# --- the local run every pass is compared with -----------------------------
t0=$(now_ms)
"$batch" "${options[@]}" --out "$work/local" "$src" >/dev/null
local_ms=$(($(now_ms) - t0))
results=$(ls "$work/local" | wc -l)
[ "$results" -eq 40 ] || { echo "the local run wrote $results results, not 40" >&2; exit 1; }

# --- pass 1: a 4-task array ------------------------------------------------
t0=$(now_ms)
KADRIX_OUT="$work/out1" sbatch --wait --quiet --array=0-3 --cpus-per-task=1 \
    --output="$work/logs/pass1_%a.out" --error="$work/logs/pass1_%a.err" "$work/task.sh"
pass1_ms=$(($(now_ms) - t0))
diff -r "$work/local" "$work/out1"
echo "pass 1: 4-task array framed $(ls "$work/out1" | wc -l) pictures, equal to the local run byte for byte"

# --- pass 2: task 2 killed at its first result, then submitted again -------
t0=$(now_ms)
job=$(KADRIX_OUT="$work/out2" sbatch --parsable --array=0-3 --cpus-per-task=1 \
    --output="$work/logs/pass2_%a.out" --error="$work/logs/pass2_%a.err" "$work/task.sh")
job=${job%%;*}
first_result() { grep -q '"status":"framed"' "$work/logs/pass2_2.out"; }
wait_for 120 "task 2's first result" first_result
scancel --full "${job}_2"
killed_ms=$(($(now_ms) - t0))
wait_for 120 "the array's end" bash -c "[ -z \"\$(squeue -h -j $job)\" ]"
done_before=$(grep -c '"status":"framed"' "$work/logs/pass2_2.out" || true)
missing=$(diff -rq "$work/local" "$work/out2" | grep -c '^Only in' || true)
[ "$missing" -gt 0 ] || { echo "task 2 ended before it could be killed" >&2; exit 1; }
t1=$(now_ms)
KADRIX_OUT="$work/out2" KADRIX_SHARD=2/4 sbatch --wait --quiet --array=2 --cpus-per-task=1 \
    --output="$work/logs/rerun_%a.out" --error="$work/logs/rerun_%a.err" "$work/task.sh"
rerun_ms=$(($(now_ms) - t1))
diff -r "$work/local" "$work/out2"
skipped=$(grep -c '"status":"skipped"' "$work/logs/rerun_2.out" || true)
framed=$(grep -c '"status":"framed"' "$work/logs/rerun_2.out" || true)

stop_daemons
echo "pass 2: task 2 killed after $done_before of its 10 results (${killed_ms} ms after submission),"
echo "        $missing results missing; its re-submission (--shard 2/4) skipped $skipped, framed $framed:"
echo "        the set equals the local run byte for byte, with no temporary file"
echo
echo "figures ($(nproc) cores, 40 pictures ${options[*]}):"
echo "  local run, 1 job:           ${local_ms} ms"
echo "  Slurm array of 4, 1 CPU each: ${pass1_ms} ms (sbatch --wait, scheduling included)"
echo "  re-submitted task:          ${rerun_ms} ms"
echo "cluster-test passed"
