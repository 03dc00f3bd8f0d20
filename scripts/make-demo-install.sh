#!/usr/bin/env bash
# Makes a small demo game install for ./run and the screenshot: a Game folder with the game's stock
# archive list (plus one mounted demo pack), a catalogue of three skins with their packs, and a
# folder of sample packs beside it to drag onto the window.
# Usage: scripts/make-demo-install.sh FOLDER   (the folder is made anew)
#
# File contents are GBK, as the program reads and writes them. File names stay UTF-8: Wine maps the
# program's GBK names to UTF-8 names on the Linux side.
set -euo pipefail
root=$(realpath -m "$1")
rm -rf "$root"
mkdir -p "$root/Game" "$root/SamplePacks"
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }

stock=(Aatrox Azir CharacterAnimations CharacterAnimations1 CharacterAnimations2 CharacterAnimations3
       CharacterAnimations4 Characters CharacterSkins CharacterSkins1 CharacterTextures CharacterTextures1
       CharacterTextures2 CharacterTextures3 CharacterTextures4 CharacterTextures5 CharacterTextures6
       CharacterTextures7 CharacterTextures8 CharacterTextures9 Datas Datas1 Datas2 Datas3 Jinx Loading
       Lucian Particles ParticleTextrues ParticleTextrues1 ParticleTextrues2 ParticleTextrues3
       ParticleTextrues4 Yasuo)
{
  first=1
  for name in "${stock[@]}"; do
    [ $first = 1 ] || printf '\r\n'
    printf '%s.zip' "$name"; first=0
  done
  printf '\r\n'; gbk '阿狸-九尾妖狐.zip'
} >"$root/Game/ClientZips.txt"

skins=('阿狸-九尾妖狐' '亚索-西部牛仔' 'Jinx-Firecracker')
{
  printf '['; gbk '皮肤包'; printf ']\r\n'
  n=1
  for s in "${skins[@]}"; do gbk "英雄$n=$s"; printf '\r\n'; n=$((n + 1)); done
} >"$root/Game/皮肤.ini"

for s in "${skins[@]}"; do printf 'PK\005\006%018d' 0 >"$root/Game/$s.zip"; done
for s in '劫-影流之主' 'Lux-Elementalist' '拉克丝-光辉女郎'; do
  printf 'PK\005\006%018d' 0 >"$root/SamplePacks/$s.zip"
done
echo "$root"
