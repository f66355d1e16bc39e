# Whole-process rows beside bench_file_copy: cp copying the same 128 MiB.
prepare() { head -c 128M /dev/urandom > big.bin; }
process file_copy_new/cp "rm -f copy.bin" "cp big.bin copy.bin"
process file_copy_replace/cp "" "cp big.bin copy.bin"
