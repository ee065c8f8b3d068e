# Shared by the test scripts that need what a machine may lack: says why the
# script is skipped and ends it with status 77, which their ctest entries
# count as skipped (SKIP_RETURN_CODE).
skip() { echo "skipped: $*"; exit 77; }
