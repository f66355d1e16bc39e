# Whole-process rows beside bench_swap_path: a 4000x3000 picture resampled to 320x400 with
# Lanczos3, reduced to 256 colours and written as the 8-bit logo, from a 24-bit bitmap and from a
# JPEG photograph; and the swap dialog's load and preview of that JPEG. Peak memory: run the tool
# with STARTLOGO_BENCH_MEMORY=1.
prepare() {
  convert -size 4000x3000 -seed 1 plasma:fractal -blur 0x2 -depth 8 -type TrueColor BMP3:photo.bmp
  convert photo.bmp -quality 90 photo.jpg
}
pillow="from PIL import Image; Image.open('IN').convert('RGB').resize((320, 400), Image.LANCZOS).quantize(256).save('out.bmp')"
process swap_path_bmp/ours "" "$build/bench/bench_swap_path_tool photo.bmp out.sys"
process swap_path_bmp/imagemagick "" "convert photo.bmp -filter Lanczos -resize 320x400! -colors 256 BMP3:out.bmp"
process swap_path_bmp/pillow "" "/usr/bin/python3 -c \"${pillow/IN/photo.bmp}\""
process swap_path_jpeg/ours "" "$build/bench/bench_swap_path_tool photo.jpg out.sys"
process swap_path_jpeg/imagemagick "" "convert photo.jpg -filter Lanczos -resize 320x400! -colors 256 BMP3:out.bmp"
process swap_path_jpeg/pillow "" "/usr/bin/python3 -c \"${pillow/IN/photo.jpg}\""
process swap_preview_jpeg/ours "" "$build/bench/bench_swap_path_tool --preview photo.jpg"
