# Whole-process rows beside bench_bitmap_codec: a 4000x3000 24-bit bitmap decoded to PPM, and read
# and written again as a bitmap.
prepare() {
  convert -size 4000x3000 -seed 1 plasma:fractal -blur 0x2 -depth 8 -type TrueColor BMP3:photo.bmp
}
process bitmap_decode_4000x3000/ours "" "$build/tools/picture-decode photo.bmp out.ppm"
process bitmap_decode_4000x3000/imagemagick "" "convert photo.bmp out.ppm"
process bitmap_copy_4000x3000/ours "" "$build/bench/bench_bitmap_copy_tool photo.bmp out.bmp"
process bitmap_copy_4000x3000/imagemagick "" "convert photo.bmp BMP3:out.bmp"
