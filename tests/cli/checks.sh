# The checks the command-line test scripts share; sourced after `passed=0 failed=0`.

# check NAME EXPECTED_STATUS STDERR_PATTERN COMMAND...: runs COMMAND (60 s at most) and checks
# its exit status and that its standard error holds the pattern.
check() {
  local name=$1 want=$2 pattern=$3
  shift 3
  timeout 60 "$@" > out.txt 2> err.txt < /dev/null
  local got=$?
  if [[ $got == "$want" ]] && { [[ -z $pattern ]] || grep -qF -- "$pattern" err.txt; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name: status $got (want $want), stderr: $(head -c 300 err.txt)"
  fi
}
expect() {  # expect NAME CONDITION...
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $name"; fi
}
