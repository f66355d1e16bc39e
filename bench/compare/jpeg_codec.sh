# Whole-process rows beside bench_jpeg_codec: a 4000x3000 JPEG photo decoded to PPM by our reader
# (through picture-decode) and by ImageMagick.
prepare() {
  convert -size 4000x3000 -seed 1 plasma:fractal -blur 0x2 -quality 85 photo.jpg
}
process jpeg_decode_4000x3000/ours "" "$build/tools/picture-decode photo.jpg out.ppm"
process jpeg_decode_4000x3000/imagemagick "" "convert photo.jpg out.ppm"
