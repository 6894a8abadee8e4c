#!/bin/sh
# What `make run` shows when there is no display: the codecs at work through kestrel-cli.
set -e
cli=${1:-build/src/cli/kestrel-cli}

run() {
    printf '\n$ kestrel-cli'
    for a in "$@"; do printf " '%s'" "$a"; done
    printf '\n'
    "$cli" "$@"
}

echo "Kestrel command line: encoding and decoding what a SIM card stores."
run encode adn --record-length 28 --name "Jiří Novák" --number "+420603123456789012345678"
record=$("$cli" encode adn --record-length 28 --name "Jiří Novák" --number "+420603123456789012345678" \
    | sed -n 's/.*"record": "\([0-9A-F]*\)".*/\1/p')
ext=$("$cli" encode adn --record-length 28 --name "Jiří Novák" --number "+420603123456789012345678" \
    | tr -d ' \n' | sed -n 's/.*"ext":\["\([0-9A-F]*\)".*/\1/p')
run decode adn "$record" --ext "$ext"
run decode plmn "32F451 62F220 FFFFFF 13F022"
run encode sms --status ToBeSent --sc +420603052000 --number +420777123456 --when "7 days" --text "Hello from Kestrel"
smsrecord=$("$cli" encode sms --status ToBeSent --sc +420603052000 --number +420777123456 --when "7 days" \
    --text "Hello from Kestrel" | sed -n 's/.*"record": "\([0-9A-F]*\)".*/\1/p')
run decode sms "$smsrecord"
echo
echo "Your virtual SIM card (PIN1 1234), through the serial reader's T=0 engine:"
run --device VIRTUAL apdu A0A40000023F00 A0C0000022 A0A40000027F10 A0A40000026F3A A0C000000F
echo
echo "See 'kestrel-cli help' for every command, and 'kestrel-sim show' for the card's files."
