# Whole-process rows beside bench_swap_path: a 4000x3000 24-bit bitmap resampled to 320x400 with
# Lanczos3 and written as a 256-colour bitmap. (The JPEG variant follows the JPEG reader.)
prepare() {
  convert -size 4000x3000 -seed 1 plasma:fractal -blur 0x2 -depth 8 -type TrueColor BMP3:photo.bmp
}
process swap_path_bmp/ours "" "$build/bench/bench_swap_path_tool photo.bmp out.bmp"
process swap_path_bmp/imagemagick "" "convert photo.bmp -filter Lanczos -resize 320x400! -colors 256 BMP3:out.bmp"
process swap_path_bmp/pillow "" "/usr/bin/python3 -c \"from PIL import Image; Image.open('photo.bmp').resize((320, 400), Image.LANCZOS).quantize(256).save('out.bmp')\""
