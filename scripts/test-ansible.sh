#!/usr/bin/env bash
# Zelvo's facts through Ansible, as an administrator collects them: the shipped local-facts script in
# a fact_path folder, Debian's ansible-core running the setup module on this machine, and the
# answer holding this machine's memory total (/proc/meminfo) and drive C's size (statvfs of /).
# Usage: scripts/test-ansible.sh BUILD_DIR    (ansible-core comes from scripts/install-deps.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:?usage: test-ansible.sh BUILD_DIR}" && pwd)
command -v ansible > /dev/null || { echo "test-ansible: ansible-core is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/facts.d" "$work/home" "$work/tmp"
install -m 755 resources/ansible/zelvo.fact "$work/facts.d/zelvo.fact"

# Ansible's own state goes to the temporary folder, not the user's home.
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_REMOTE_TEMP="$work/tmp" \
  ANSIBLE_NOCOLOR=1 ANSIBLE_PYTHON_INTERPRETER=/usr/bin/python3 PATH="$build/src/app:$PATH" \
  ansible localhost -i localhost, -c local -m ansible.builtin.setup \
  -a "fact_path=$work/facts.d filter=ansible_local" > "$work/answer.txt"

python3 - "$work/answer.txt" <<'PY'
import json, os, sys
text = open(sys.argv[1]).read()
answer = json.loads(text[text.index('{'):])
zelvo = answer['ansible_facts']['ansible_local']['zelvo']
assert zelvo.get('format') == 'zelvo-facts', zelvo
total = int(next(l for l in open('/proc/meminfo') if l.startswith('MemTotal:')).split()[1]) * 1024
assert zelvo['memory']['totalBytes'] == total, (zelvo['memory'], total)
st = os.statvfs('/')
c = next(d for d in zelvo['drives'] if d['letter'] == 'c')
assert c['size']['totalBytes'] == st.f_blocks * st.f_frsize, (c['size'], st)
print('test-ansible: ansible_local.zelvo: memory', total, 'bytes, drive C', c['size']['totalBytes'], 'bytes')
PY
