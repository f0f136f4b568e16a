<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>typing</source>
        <translation>输入</translation>
    </message>
</context>
<context>
    <name>TfrmProofread</name>
    <message>
        <source>Proofreading</source>
        <translation>校对</translation>
    </message>
    <message>
        <source>Polyphones:</source>
        <translation>多音字：</translation>
    </message>
    <message>
        <source>First reading</source>
        <translation>取第一个读音</translation>
    </message>
    <message>
        <source>All readings</source>
        <translation>列出全部读音</translation>
    </message>
    <message>
        <source>By context</source>
        <translation>按词语读音</translation>
    </message>
    <message>
        <source>Tones:</source>
        <translation>声调：</translation>
    </message>
    <message>
        <source>Tone marks</source>
        <translation>标调符号</translation>
    </message>
    <message>
        <source>Tone numbers</source>
        <translation>数字标调</translation>
    </message>
    <message>
        <source>No tones</source>
        <translation>不标声调</translation>
    </message>
    <message>
        <source>Light tones as spoken</source>
        <translation>轻声按口语</translation>
    </message>
    <message>
        <source>Tone changes of 一 and 不</source>
        <translation>“一”“不”变调</translation>
    </message>
    <message>
        <source>Written by words</source>
        <translation>按词连写</translation>
    </message>
    <message>
        <source>Type or paste Chinese text here, or open a file.</source>
        <translation>在此输入或粘贴中文，或打开文件。</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>Open text…</source>
        <translation>打开文本…</translation>
    </message>
    <message>
        <source>Open proofreading…</source>
        <translation>打开校对稿…</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save as…</source>
        <translation>另存为…</translation>
    </message>
    <message>
        <source>Export handout…</source>
        <translation>导出讲义…</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>No readings known for %1</source>
        <translation>“%1”没有已知读音</translation>
    </message>
    <message>
        <source>This %1 only</source>
        <translation>仅此处的“%1”</translation>
    </message>
    <message>
        <source>Every %1 in this text</source>
        <translation>本文中所有的“%1”</translation>
    </message>
    <message>
        <source>Always, in every text (a word of my own)</source>
        <translation>总是这样读（加入自定义词语）</translation>
    </message>
    <message>
        <source>Take back the chosen reading</source>
        <translation>撤回所选读音</translation>
    </message>
    <message>
        <source>Reading of %1</source>
        <translation>“%1”的读音</translation>
    </message>
    <message>
        <source>Always read %1</source>
        <translation>“%1”总是这样读</translation>
    </message>
    <message>
        <source>Take back a reading</source>
        <translation>撤回读音</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>文本文件 (*.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Proofreading (*.tolvane-proof);;All files (*)</source>
        <translation>校对稿 (*.tolvane-proof);;所有文件 (*)</translation>
    </message>
    <message>
        <source>My words</source>
        <translation>我的词语</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>词语</translation>
    </message>
    <message>
        <source>Pinyin</source>
        <translation>拼音</translation>
    </message>
    <message>
        <source>Pinyin, e.g. yin2 hang2</source>
        <translation>拼音，如 yin2 hang2</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Import TSV…</source>
        <translation>导入 TSV…</translation>
    </message>
    <message>
        <source>Export TSV…</source>
        <translation>导出 TSV…</translation>
    </message>
    <message>
        <source>Lines passed over:</source>
        <translation>以下各行未采用：</translation>
    </message>
    <message>
        <source>My word %1</source>
        <translation>自定义词语“%1”</translation>
    </message>
    <message>
        <source>Remove my word %1</source>
        <translation>删除自定义词语“%1”</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>导入 %1</translation>
    </message>
    <message>
        <source>Tab-separated values (*.tsv *.txt);;All files (*)</source>
        <translation>制表符分隔文件 (*.tsv *.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>A handout is still being written. Please wait.</source>
        <translation>讲义仍在写入，请稍候。</translation>
    </message>
    <message>
        <source>Writing %1…</source>
        <translation>正在写入 %1…</translation>
    </message>
    <message>
        <source>Written: %1</source>
        <translation>已写入：%1</translation>
    </message>
</context>
<context>
    <name>TfrmPageDesign</name>
    <message>
        <source>Page design</source>
        <translation>页面设计</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>纸张</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>页边距</translation>
    </message>
    <message>
        <source>Character font</source>
        <translation>汉字字体</translation>
    </message>
    <message>
        <source>Character size</source>
        <translation>汉字字号</translation>
    </message>
    <message>
        <source>Pinyin font</source>
        <translation>注音字体</translation>
    </message>
    <message>
        <source>Pinyin size</source>
        <translation>注音字号</translation>
    </message>
    <message>
        <source>Line spacing</source>
        <translation>行距</translation>
    </message>
    <message>
        <source>Syllable gap</source>
        <translation>音节间距</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Title text</source>
        <translation>标题文字</translation>
    </message>
    <message>
        <source>Page numbers</source>
        <translation>页码</translation>
    </message>
    <message>
        <source>Show page numbers</source>
        <translation>显示页码</translation>
    </message>
    <message>
        <source>Tone colours</source>
        <translation>声调颜色</translation>
    </message>
    <message>
        <source>Custom colours</source>
        <translation>自定义颜色</translation>
    </message>
    <message>
        <source>1st</source>
        <translation>一声</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>二声</translation>
    </message>
    <message>
        <source>3rd</source>
        <translation>三声</translation>
    </message>
    <message>
        <source>4th</source>
        <translation>四声</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>轻声</translation>
    </message>
    <message>
        <source>Annotate</source>
        <translation>注音范围</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>The blank border around the text on every side of the page</source>
        <translation>页面四周留出的空白宽度</translation>
    </message>
    <message>
        <source>The size of the pinyin, as a share of the size of the characters</source>
        <translation>拼音大小占汉字字号的百分比</translation>
    </message>
    <message>
        <source>The distance from one line to the next, as a multiple of the height of a line of pinyin over characters</source>
        <translation>相邻两行的间距，为“拼音加汉字”一行高度的倍数</translation>
    </message>
    <message>
        <source>The room kept on each side of a syllable, as a share of the pinyin size, so that neighbouring syllables never run together</source>
        <translation>每个音节两侧留出的空隙（占注音字号的比例），使相邻音节不会连在一起</translation>
    </message>
    <message>
        <source>The title printed over the first page, when the title is fixed text</source>
        <translation>标题选“固定文字”时印在首页顶部的标题</translation>
    </message>
    <message>
        <source>Colours the pinyin by its tone</source>
        <translation>按声调给拼音着色</translation>
    </message>
    <message>
        <source>Which characters get their pinyin printed over them</source>
        <translation>选择给哪些汉字标注拼音</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>A5</source>
        <translation>A5</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter（美国信纸）</translation>
    </message>
    <message>
        <source>(automatic)</source>
        <translation>（自动）</translation>
    </message>
    <message>
        <source>First line</source>
        <translation>取第一行</translation>
    </message>
    <message>
        <source>Fixed text</source>
        <translation>固定文字</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>不着色</translation>
    </message>
    <message>
        <source>Classic</source>
        <translation>经典配色</translation>
    </message>
    <message>
        <source>Dictionary</source>
        <translation>词典配色</translation>
    </message>
    <message>
        <source>High contrast</source>
        <translation>高对比度</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>Every character</source>
        <translation>全部汉字</translation>
    </message>
    <message>
        <source>Uncommon characters</source>
        <translation>常用字以外</translation>
    </message>
    <message>
        <source>Unusual readings</source>
        <translation>非常用读音</translation>
    </message>
    <message>
        <source>First occurrence</source>
        <translation>每字首次出现</translation>
    </message>
    <message>
        <source>Pinyin over every Chinese character</source>
        <translation>每个汉字都标注拼音</translation>
    </message>
    <message>
        <source>Pinyin only over characters outside the 3,500 common ones</source>
        <translation>只给 3500 个常用字以外的字注音</translation>
    </message>
    <message>
        <source>Pinyin only where a character is read otherwise than usual</source>
        <translation>只给读音不同于常用读音的字注音</translation>
    </message>
    <message>
        <source>Pinyin over the first occurrence of each character only</source>
        <translation>每个字只在第一次出现时注音</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
</TS>
