# Whole-process rows beside bench_tiff_packbits: a 2000x1500 RGB PackBits TIFF decoded to PPM.
prepare() {
  /usr/bin/convert -size 2000x1500 -seed 1 plasma:fractal -depth 8 -type TrueColor -compress RLE photo.tif
}
process tiff_packbits_decode/ours "" "$build/tools/picture-decode photo.tif out.ppm"
process tiff_packbits_decode/imagemagick "" "/usr/bin/convert photo.tif out.ppm"
process tiff_packbits_decode/libtiff "" "tifftopnm photo.tif > out.ppm"
