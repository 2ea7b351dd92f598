#!/usr/bin/env node
// Derives the start codes of the toneless syllable table that the full-pinyin
// look-up bisects (src/arenix/text/pinyin_table.h), and writes the fixture
// of first-level GB2312 readings that the pinyin tests compare with.
//
// The first level of GB2312 (GBK codes 0xB0A1..0xD7F9) is ordered by reading,
// so each syllable's characters form one run; a syllable starts at the first
// first-level character, in code order and after the previous syllable's
// start, that reads that way (derive() below says how characters with
// several readings are weighed). Readings come from the npm package
// pinyin-pro.
//
// Not part of the build. Usage:
//   npm install --prefix tools-cache pinyin-pro
//   node scripts/derive_pinyin_table.js [--table] [--fixture FILE]
// With --table it prints the C++ rows; with --fixture it writes one line per
// first-level character: "CODE CHAR reading[/reading...]".
'use strict';
const path = require('path');
const fs = require('fs');
const root = path.join(__dirname, '..');
const { pinyin } = require(process.env.PINYIN_PRO ||
                           path.join(root, 'tools-cache/node_modules/pinyin-pro'));

// The syllables in table order. long and pou complete the component's older
// list of 395, which lacked them (龙 read liu and 剖 po).
const SYLLABLES = (
  'a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can ' +
  'cang cao ce ceng cha chai chan chang chao che chen cheng chi chong chou chu chuai chuan ' +
  'chuang chui chun chuo ci cong cou cu cuan cui cun cuo da dai dan dang dao de deng di dian ' +
  'diao die ding diu dong dou du duan dui dun duo e en er fa fan fang fei fen feng fo fou fu ' +
  'ga gai gan gang gao ge gei gen geng gong gou gu gua guai guan guang gui gun guo ha hai han ' +
  'hang hao he hei hen heng hong hou hu hua huai huan huang hui hun huo ji jia jian jiang jiao ' +
  'jie jin jing jiong jiu ju juan jue jun ka kai kan kang kao ke ken keng kong kou ku kua kuai ' +
  'kuan kuang kui kun kuo la lai lan lang lao le lei leng li lia lian liang liao lie lin ling ' +
  'liu long lou lu lv luan lue lun luo ma mai man mang mao me mei men meng mi mian miao mie min ' +
  'ming miu mo mou mu na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu ' +
  'nong nu nv nuan nue nuo o ou pa pai pan pang pao pei pen peng pi pian piao pie pin ping po ' +
  'pou pu qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun ran rang rao re ren reng ri ' +
  'rong rou ru ruan rui run ruo sa sai san sang sao se sen seng sha shai shan shang shao she ' +
  'shen sheng shi shou shu shua shuai shuan shuang shui shun shuo si song sou su suan sui sun ' +
  'suo ta tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo wa wai ' +
  'wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun ' +
  'ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun za zai zan zang zao ze zei zen ' +
  'zeng zha zhai zhan zhang zhao zhe zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang ' +
  'zhui zhun zhuo zi zong zou zu zuan zui zun zuo').split(' ');

// Start codes (signed) known independently; the derivation must agree.
const KNOWN = {
  a: -20319, ai: -20317, an: -20304, ang: -20295, ao: -20292, ba: -20283, bei: -20051,
  ca: -19775, cha: -19739, da: -19218, e: -18710, fa: -18526, ga: -18239, guo: -17928,
  ha: -17922, ji: -17417, ka: -16474, la: -16212, lv: -15681, lue: -15661, ma: -15640,
  na: -15165, nv: -14930, nue: -14928, o: -14922, pa: -14914, qi: -14630, ran: -14149,
  sa: -14090, sha: -13905, ta: -13318, wa: -12838, xi: -12556, ya: -11847, za: -11055,
  zha: -11014, zhong: -10544, zuo: -10254,
};

// pinyin-pro writes ü as v with {v: true}; the table spells lüe and nüe with u.
function normalise(r) {
  return r === 'lve' ? 'lue' : r === 'nve' ? 'nue' : r;
}

function readings(ch) {
  const usual = normalise(pinyin(ch, { toneType: 'none', type: 'array', v: true })[0]);
  const all = pinyin(ch, { toneType: 'none', multiple: true, type: 'array', v: true }).map(normalise);
  const list = [usual, ...all.filter((r) => r !== usual)];
  return [...new Set(list)];
}

const decoder = new TextDecoder('gbk');
const level1 = [];
for (let lead = 0xb0; lead <= 0xd7; ++lead) {
  for (let trail = 0xa1; trail <= 0xfe; ++trail) {
    if (lead === 0xd7 && trail > 0xf9) break;
    const ch = decoder.decode(new Uint8Array([lead, trail]));
    level1.push({ code: (lead << 8) | trail, ch, readings: readings(ch) });
  }
}
if (level1.length !== 3755) throw new Error(`expected 3755 first-level characters, got ${level1.length}`);

function signed(code) { return code - 65536; }

// Where a syllable starts. Characters with several readings blur the
// borders between runs (牟, usually mu, sits in the mou run; 大, da or dai,
// ends the da run), so the anchor is the first character, after the previous
// start, that reads only this syllable; the run then reaches back over the
// characters just before it whose usual reading it is. A syllable that no character reads alone
// starts at the first character whose usual reading it is, or failing that
// at the first that can read it.
function derive() {
  const starts = [];
  let from = 0;  // index into level1 where the search for the next syllable begins
  for (const s of SYLLABLES) {
    let i = level1.findIndex((c, k) => k >= from && c.readings.length === 1 && c.readings[0] === s);
    if (i >= 0) {
      while (i - 1 >= from && level1[i - 1].readings[0] === s) --i;
    } else {
      i = level1.findIndex((c, k) => k >= from && c.readings[0] === s);
      if (i < 0) i = level1.findIndex((c, k) => k >= from && c.readings.includes(s));
    }
    if (i < 0) throw new Error(`no first-level character reads ${s}`);
    starts.push({ syllable: s, code: level1[i].code });
    from = i + 1;
  }
  return starts;
}

const starts = derive();
const problems = [];
for (let k = 1; k < starts.length; ++k)
  if (starts[k].code <= starts[k - 1].code) problems.push(`not rising at ${starts[k].syllable}`);
for (const row of starts)
  if (row.syllable in KNOWN && KNOWN[row.syllable] !== signed(row.code))
    problems.push(`${row.syllable}: derived ${signed(row.code)}, known ${KNOWN[row.syllable]}`);
if (starts.length !== 397) problems.push(`expected 397 rows, got ${starts.length}`);
if (starts[0].code !== 0xb0a1) problems.push('a does not start at 0xB0A1');
if (starts[starts.length - 1].code !== 0xd7f2) problems.push('zuo does not start at 0xD7F2');
if (problems.length) {
  console.error(problems.join('\n'));
  process.exit(1);
}

const args = process.argv.slice(2);
if (args.includes('--table')) {
  const cells = starts.map((r) => `{u"${r.syllable}", ${signed(r.code)}}`);
  let line = '   ';
  for (const cell of cells) {
    if (line.length + cell.length + 2 > 100) {
      console.log(line);
      line = '   ';
    }
    line += ` ${cell},`;
  }
  console.log(line);
}
const f = args.indexOf('--fixture');
if (f >= 0) {
  const lines = level1.map((c) => `${c.code.toString(16).toUpperCase()} ${c.ch} ${c.readings.join('/')}`);
  fs.writeFileSync(args[f + 1], lines.join('\n') + '\n');
}
if (!args.length) console.error(`${starts.length} syllables derived; all checks passed`);
