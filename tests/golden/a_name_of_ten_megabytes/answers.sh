head -c 10485760 /dev/zero | tr '\0' 'q'
printf '\n\n/\n'
