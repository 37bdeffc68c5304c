# Sourced by the benchmark scripts: photo-like test JPEGs, made once into $data and kept.
# Needs $data (a folder) and $convert (the real ImageMagick).

make_photo() {  # name width height; prints the file's path
  local file=$data/$1.jpg
  [[ -s $file ]] || "$convert" -size "$2x$3" -seed 7 plasma:fractal -blur 0x1 \
    -attenuate 0.4 +noise Gaussian -quality 92 -sampling-factor 2x2 "$file"
  echo "$file"
}
