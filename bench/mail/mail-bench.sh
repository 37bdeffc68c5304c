#!/usr/bin/env bash
# One message to 50 recipients on an aiosmtpd sink on loopback: the program's own sender
# (one connection, one transaction a recipient, as the e-mail command sends), next to curl
# and, when installed, swaks (each one transaction with 50 recipients). Best of ROUNDS, in
# milliseconds, and the ratio. Never fails a build: exits 0.
#
#   bench/mail/mail-bench.sh [BUILD_DIR]     (default: build)

set -u
build=${1:-build}
recipients=${RECIPIENTS:-50}
rounds=${ROUNDS:-5}
say() { printf '%s\n' "$*"; }
cmake --build "$build" --target bench_mail > /dev/null 2>&1 || { say "mail: could not build in $build"; exit 0; }

work=$(mktemp -d)
mkdir "$work/spool"
coproc PEER { /usr/bin/python3 tests/mail/smtp_peer.py --spool "$work/spool" 2> "$work/err"; }
trap 'kill $PEER_PID 2>/dev/null; rm -rf "$work"' EXIT
read -r -t 20 line <&"${PEER[0]}" || { say "mail: the SMTP sink did not start: $(cat "$work/err")"; exit 0; }
port=${line#port=}

out=$("$build/bench/bench_mail" "$port" "$recipients" "$rounds") || { say "mail: the sender failed"; exit 0; }
ours=$(sed -n 's/^best //p' <<< "$out")

printf 'Subject: Here'"'"'s some new photos!\r\n\r\nClick on the link below to see the photo.\r\n\r\nhttp://photos.example.com/view.asp?Id=42\r\n' > "$work/message.eml"
rcpts=()
list=()
for ((i = 0; i < recipients; i++)); do
  rcpts+=(--mail-rcpt "friend$i@example.org")
  list+=("friend$i@example.org")
done
best_of() {  # command...: the best wall time of ROUNDS runs, in ms
  local best="" start end ms
  for ((r = 0; r < rounds; r++)); do
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1 || { echo "-"; return; }
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000 ))
    [[ -z $best || $ms -lt $best ]] && best=$ms
  done
  awk -v us="$best" 'BEGIN { printf "%.1f", us / 1000 }'
}
curl_ms=$(best_of curl -s --url "smtp://127.0.0.1:$port" --mail-from me@example.com "${rcpts[@]}" --upload-file "$work/message.eml")
swaks_ms="-"
if command -v swaks > /dev/null; then
  swaks_ms=$(best_of swaks --server "127.0.0.1:$port" --from me@example.com --to "$(IFS=,; echo "${list[*]}")" --data "$work/message.eml")
else
  say "mail: swaks not found (package swaks); no swaks figures"
fi
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0 && b > 0) printf "%.2f", a / b; else print "-" }'; }
say "One message to $recipients recipients over SMTP on loopback (aiosmtpd), best of $rounds, ms:"
printf '  brivane %8s  (one connection, %d transactions)\n' "$ours" "$recipients"
printf '  curl    %8s  (one transaction, %d recipients)   brivane/curl  %s\n' "$curl_ms" "$recipients" "$(ratio "$ours" "$curl_ms")"
printf '  swaks   %8s  (one transaction, %d recipients)   brivane/swaks %s\n' "$swaks_ms" "$recipients" "$(ratio "$ours" "$swaks_ms")"
exit 0
