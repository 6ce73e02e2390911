# What both benchmarks share; sourced from the repository's root by bench/run.sh and
# bench/many_files.sh. Builds Release into build-release, sets $quillet and $generate, and
# makes a scratch folder $work that is removed on exit.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF > /dev/null
cmake --build build-release -j --target quillet quillet_generate > /dev/null
quillet=$(pwd)/build-release/quillet
generate=$(pwd)/build-release/quillet_generate

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { echo "${EPOCHREALTIME/./}"; }  # microseconds, without starting a process
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The full input: 1500 series of 8000 values, all from the year 1000.
generate_full() {
  "$generate" --series 1500 --min-length 8000 --max-length 8000 --first-year 1000 \
    --last-first-year 1000 --seed 1 --out "$1"
}

# The many-files input: 2000 chronologies of 1-4 series of 100-600 values, into folder $1.
generate_many() {
  local i
  mkdir -p "$1"
  for ((i = 0; i < 2000; i++)); do
    "$generate" --series $((1 + i % 4)) --min-length 100 --max-length 600 --first-year 1500 \
      --last-first-year 1900 --type 1 --seed "$i" --out "$1/site$i.crn"
  done
}

# The folder of many files a benchmark reads, as an absolute path: the one given, or 2000
# generated chronologies.
files_folder() {
  local folder=$1
  if [ -z "$folder" ]; then
    folder=$work/files
    generate_many "$folder" > /dev/null
  fi
  (cd "$folder" && pwd)
}

# alternate RUNS A B A_TIMES B_TIMES [BEFORE]: runs the commands A and B (shell functions) RUNS
# times each, in pairs whose order alternates so that neither always runs on a warmer machine,
# and appends each run's microseconds to its file. BEFORE, if given, runs untimed before each
# pair. Files written before it (a generated input, a warming run) are written back first, so
# that their writing back does not fall into the first pair's time.
alternate() {
  local runs=$1 a=$2 b=$3 a_times=$4 b_times=$5 before=${6:-true} i t0 t1 t2
  sync
  : > "$a_times"
  : > "$b_times"
  for ((i = 0; i < runs; i++)); do
    "$before"
    if ((i % 2 == 0)); then
      t0=$(now); "$a"; t1=$(now); "$b"; t2=$(now)
      echo $((t1 - t0)) >> "$a_times"; echo $((t2 - t1)) >> "$b_times"
    else
      t0=$(now); "$b"; t1=$(now); "$a"; t2=$(now)
      echo $((t2 - t1)) >> "$a_times"; echo $((t1 - t0)) >> "$b_times"
    fi
  done
}

machine_line() {
  echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
}
