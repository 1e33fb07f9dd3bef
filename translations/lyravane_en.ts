<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>Core</name>
    <message>
        <source>the data ends early</source>
        <translation>the data ends early</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>List index out of bounds (%1)</translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation>Stream read error</translation>
    </message>
    <message>
        <source>Stream write error</source>
        <translation>Stream write error</translation>
    </message>
    <message>
        <source>Invalid MIDI file</source>
        <translation>Invalid MIDI file</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>The file is too large (more than %1 bytes)</source>
        <translation>The file is too large (more than %1 bytes)</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>another process holds it</translation>
    </message>
    <message>
        <source>It is neither a file, a pipe nor a character device</source>
        <translation>It is neither a file, a pipe nor a character device</translation>
    </message>
    <message>
        <source>001.Piano de cola</source>
        <translation>001.Acoustic Grand Piano</translation>
    </message>
    <message>
        <source>002.Piano brillante</source>
        <translation>002.Bright Acoustic Piano</translation>
    </message>
    <message>
        <source>003.Piano de cola electrico</source>
        <translation>003.Electric Grand Piano</translation>
    </message>
    <message>
        <source>004.Piano honky-tonk</source>
        <translation>004.Honky-tonk Piano</translation>
    </message>
    <message>
        <source>005.Piano electrico 1</source>
        <translation>005.Electric Piano 1</translation>
    </message>
    <message>
        <source>006.Piano electrico 2</source>
        <translation>006.Electric Piano 2</translation>
    </message>
    <message>
        <source>007.Clavecin</source>
        <translation>007.Harpsichord</translation>
    </message>
    <message>
        <source>008.Clavinet</source>
        <translation>008.Clavi</translation>
    </message>
    <message>
        <source>009.Celesta</source>
        <translation>009.Celesta</translation>
    </message>
    <message>
        <source>010.Glockenspiel</source>
        <translation>010.Glockenspiel</translation>
    </message>
    <message>
        <source>011.Caja de musica</source>
        <translation>011.Music Box</translation>
    </message>
    <message>
        <source>012.Vibrafono</source>
        <translation>012.Vibraphone</translation>
    </message>
    <message>
        <source>013.Marimba</source>
        <translation>013.Marimba</translation>
    </message>
    <message>
        <source>014.Xilofono</source>
        <translation>014.Xylophone</translation>
    </message>
    <message>
        <source>015.Campanas tubulares</source>
        <translation>015.Tubular Bells</translation>
    </message>
    <message>
        <source>016.Dulcemele</source>
        <translation>016.Dulcimer</translation>
    </message>
    <message>
        <source>017.Organo de barras</source>
        <translation>017.Drawbar Organ</translation>
    </message>
    <message>
        <source>018.Organo percusivo</source>
        <translation>018.Percussive Organ</translation>
    </message>
    <message>
        <source>019.Organo de rock</source>
        <translation>019.Rock Organ</translation>
    </message>
    <message>
        <source>020.Organo de iglesia</source>
        <translation>020.Church Organ</translation>
    </message>
    <message>
        <source>021.Armonio</source>
        <translation>021.Reed Organ</translation>
    </message>
    <message>
        <source>022.Acordeon</source>
        <translation>022.Accordion</translation>
    </message>
    <message>
        <source>023.Armonica</source>
        <translation>023.Harmonica</translation>
    </message>
    <message>
        <source>024.Bandoneon</source>
        <translation>024.Tango Accordion</translation>
    </message>
    <message>
        <source>025.Guitarra de Nailon</source>
        <translation>025.Acoustic Guitar (nylon)</translation>
    </message>
    <message>
        <source>026.Guitarra de Acero</source>
        <translation>026.Acoustic Guitar (steel)</translation>
    </message>
    <message>
        <source>027.Guitarra de jazz</source>
        <translation>027.Electric Guitar (jazz)</translation>
    </message>
    <message>
        <source>028.Guitarra electrica limpia</source>
        <translation>028.Electric Guitar (clean)</translation>
    </message>
    <message>
        <source>029.Guitarra apagada</source>
        <translation>029.Electric Guitar (muted)</translation>
    </message>
    <message>
        <source>030.Guitarra saturada</source>
        <translation>030.Overdriven Guitar</translation>
    </message>
    <message>
        <source>031.Guitarra distorsionada</source>
        <translation>031.Distortion Guitar</translation>
    </message>
    <message>
        <source>032.Armonicos de guitarra</source>
        <translation>032.Guitar Harmonics</translation>
    </message>
    <message>
        <source>033.Bajo acustico</source>
        <translation>033.Acoustic Bass</translation>
    </message>
    <message>
        <source>034.Bajo electrico (dedos)</source>
        <translation>034.Electric Bass (finger)</translation>
    </message>
    <message>
        <source>035.Bajo electrico (pua)</source>
        <translation>035.Electric Bass (pick)</translation>
    </message>
    <message>
        <source>036.Bajo sin trastes</source>
        <translation>036.Fretless Bass</translation>
    </message>
    <message>
        <source>037.Bajo slap 1</source>
        <translation>037.Slap Bass 1</translation>
    </message>
    <message>
        <source>038.Bajo slap 2</source>
        <translation>038.Slap Bass 2</translation>
    </message>
    <message>
        <source>039.Bajo sintetizado 1</source>
        <translation>039.Synth Bass 1</translation>
    </message>
    <message>
        <source>040.Bajo sintetizado 2</source>
        <translation>040.Synth Bass 2</translation>
    </message>
    <message>
        <source>041.Violin</source>
        <translation>041.Violin</translation>
    </message>
    <message>
        <source>042.Viola</source>
        <translation>042.Viola</translation>
    </message>
    <message>
        <source>043.Violonchelo</source>
        <translation>043.Cello</translation>
    </message>
    <message>
        <source>044.Contrabajo</source>
        <translation>044.Contrabass</translation>
    </message>
    <message>
        <source>045.Cuerdas en tremolo</source>
        <translation>045.Tremolo Strings</translation>
    </message>
    <message>
        <source>046.Cuerdas en pizzicato</source>
        <translation>046.Pizzicato Strings</translation>
    </message>
    <message>
        <source>047.Arpa</source>
        <translation>047.Orchestral Harp</translation>
    </message>
    <message>
        <source>048.Timbales</source>
        <translation>048.Timpani</translation>
    </message>
    <message>
        <source>049.Conjunto de cuerdas 1</source>
        <translation>049.String Ensemble 1</translation>
    </message>
    <message>
        <source>050.Conjunto de cuerdas 2</source>
        <translation>050.String Ensemble 2</translation>
    </message>
    <message>
        <source>051.Cuerdas sintetizadas 1</source>
        <translation>051.SynthStrings 1</translation>
    </message>
    <message>
        <source>052.Cuerdas sintetizadas 2</source>
        <translation>052.SynthStrings 2</translation>
    </message>
    <message>
        <source>053.Coro Aahs</source>
        <translation>053.Choir Aahs</translation>
    </message>
    <message>
        <source>054.Voz Oohs</source>
        <translation>054.Voice Oohs</translation>
    </message>
    <message>
        <source>055.Voz sintetizada</source>
        <translation>055.Synth Voice</translation>
    </message>
    <message>
        <source>056.Golpe de orquesta</source>
        <translation>056.Orchestra Hit</translation>
    </message>
    <message>
        <source>057.Trompeta</source>
        <translation>057.Trumpet</translation>
    </message>
    <message>
        <source>058.Trombon</source>
        <translation>058.Trombone</translation>
    </message>
    <message>
        <source>059.Tuba</source>
        <translation>059.Tuba</translation>
    </message>
    <message>
        <source>060.Trompeta con sordina</source>
        <translation>060.Muted Trumpet</translation>
    </message>
    <message>
        <source>061.Trompa</source>
        <translation>061.French Horn</translation>
    </message>
    <message>
        <source>062.Seccion de metales</source>
        <translation>062.Brass Section</translation>
    </message>
    <message>
        <source>063.Metales sintetizados 1</source>
        <translation>063.SynthBrass 1</translation>
    </message>
    <message>
        <source>064.Metales sintetizados 2</source>
        <translation>064.SynthBrass 2</translation>
    </message>
    <message>
        <source>065.Saxo soprano</source>
        <translation>065.Soprano Sax</translation>
    </message>
    <message>
        <source>066.Saxo alto</source>
        <translation>066.Alto Sax</translation>
    </message>
    <message>
        <source>067.Saxo tenor</source>
        <translation>067.Tenor Sax</translation>
    </message>
    <message>
        <source>068.Saxo baritono</source>
        <translation>068.Baritone Sax</translation>
    </message>
    <message>
        <source>069.Oboe</source>
        <translation>069.Oboe</translation>
    </message>
    <message>
        <source>070.Corno ingles</source>
        <translation>070.English Horn</translation>
    </message>
    <message>
        <source>071.Fagot</source>
        <translation>071.Bassoon</translation>
    </message>
    <message>
        <source>072.Clarinete</source>
        <translation>072.Clarinet</translation>
    </message>
    <message>
        <source>073.Flautin</source>
        <translation>073.Piccolo</translation>
    </message>
    <message>
        <source>074.Flauta</source>
        <translation>074.Flute</translation>
    </message>
    <message>
        <source>075.Flauta dulce</source>
        <translation>075.Recorder</translation>
    </message>
    <message>
        <source>076.Flauta de pan</source>
        <translation>076.Pan Flute</translation>
    </message>
    <message>
        <source>077.Botella soplada</source>
        <translation>077.Blown Bottle</translation>
    </message>
    <message>
        <source>078.Shakuhachi</source>
        <translation>078.Shakuhachi</translation>
    </message>
    <message>
        <source>079.Silbido</source>
        <translation>079.Whistle</translation>
    </message>
    <message>
        <source>080.Ocarina</source>
        <translation>080.Ocarina</translation>
    </message>
    <message>
        <source>081.Solista 1 (cuadrada)</source>
        <translation>081.Lead 1 (square)</translation>
    </message>
    <message>
        <source>082.Solista 2 (sierra)</source>
        <translation>082.Lead 2 (sawtooth)</translation>
    </message>
    <message>
        <source>083.Solista 3 (caliope)</source>
        <translation>083.Lead 3 (calliope)</translation>
    </message>
    <message>
        <source>084.Solista 4 (chiff)</source>
        <translation>084.Lead 4 (chiff)</translation>
    </message>
    <message>
        <source>085.Solista 5 (charango)</source>
        <translation>085.Lead 5 (charang)</translation>
    </message>
    <message>
        <source>086.Solista 6 (voz)</source>
        <translation>086.Lead 6 (voice)</translation>
    </message>
    <message>
        <source>087.Solista 7 (quintas)</source>
        <translation>087.Lead 7 (fifths)</translation>
    </message>
    <message>
        <source>088.Solista 8 (bajo y solista)</source>
        <translation>088.Lead 8 (bass + lead)</translation>
    </message>
    <message>
        <source>089.Fondo 1 (nueva era)</source>
        <translation>089.Pad 1 (new age)</translation>
    </message>
    <message>
        <source>090.Fondo 2 (calido)</source>
        <translation>090.Pad 2 (warm)</translation>
    </message>
    <message>
        <source>091.Fondo 3 (polisint.)</source>
        <translation>091.Pad 3 (polysynth)</translation>
    </message>
    <message>
        <source>092.Fondo 4 (coro)</source>
        <translation>092.Pad 4 (choir)</translation>
    </message>
    <message>
        <source>093.Fondo 5 (arco)</source>
        <translation>093.Pad 5 (bowed)</translation>
    </message>
    <message>
        <source>094.Fondo 6 (metalico)</source>
        <translation>094.Pad 6 (metallic)</translation>
    </message>
    <message>
        <source>095.Fondo 7 (halo)</source>
        <translation>095.Pad 7 (halo)</translation>
    </message>
    <message>
        <source>096.Fondo 8 (barrido)</source>
        <translation>096.Pad 8 (sweep)</translation>
    </message>
    <message>
        <source>097.Efecto 1 (lluvia)</source>
        <translation>097.FX 1 (rain)</translation>
    </message>
    <message>
        <source>098.Efecto 2 (banda sonora)</source>
        <translation>098.FX 2 (soundtrack)</translation>
    </message>
    <message>
        <source>099.Efecto 3 (cristal)</source>
        <translation>099.FX 3 (crystal)</translation>
    </message>
    <message>
        <source>100.Efecto 4 (atmosfera)</source>
        <translation>100.FX 4 (atmosphere)</translation>
    </message>
    <message>
        <source>101.Efecto 5 (brillo)</source>
        <translation>101.FX 5 (brightness)</translation>
    </message>
    <message>
        <source>102.Efecto 6 (duendes)</source>
        <translation>102.FX 6 (goblins)</translation>
    </message>
    <message>
        <source>103.Efecto 7 (ecos)</source>
        <translation>103.FX 7 (echoes)</translation>
    </message>
    <message>
        <source>104.Efecto 8 (ciencia ficcion)</source>
        <translation>104.FX 8 (sci-fi)</translation>
    </message>
    <message>
        <source>105.Sitar</source>
        <translation>105.Sitar</translation>
    </message>
    <message>
        <source>106.Banjo</source>
        <translation>106.Banjo</translation>
    </message>
    <message>
        <source>107.Shamisen</source>
        <translation>107.Shamisen</translation>
    </message>
    <message>
        <source>108.Koto</source>
        <translation>108.Koto</translation>
    </message>
    <message>
        <source>109.Kalimba</source>
        <translation>109.Kalimba</translation>
    </message>
    <message>
        <source>110.Gaita</source>
        <translation>110.Bagpipe</translation>
    </message>
    <message>
        <source>111.Violin popular</source>
        <translation>111.Fiddle</translation>
    </message>
    <message>
        <source>112.Shehnai</source>
        <translation>112.Shanai</translation>
    </message>
    <message>
        <source>113.Campanillas</source>
        <translation>113.Tinkle Bell</translation>
    </message>
    <message>
        <source>114.Agogo</source>
        <translation>114.Agogo</translation>
    </message>
    <message>
        <source>115.Tambores de acero</source>
        <translation>115.Steel Drums</translation>
    </message>
    <message>
        <source>116.Caja china</source>
        <translation>116.Woodblock</translation>
    </message>
    <message>
        <source>117.Tambor taiko</source>
        <translation>117.Taiko Drum</translation>
    </message>
    <message>
        <source>118.Tom melodico</source>
        <translation>118.Melodic Tom</translation>
    </message>
    <message>
        <source>119.Tambor sintetizado</source>
        <translation>119.Synth Drum</translation>
    </message>
    <message>
        <source>120.Platillo invertido</source>
        <translation>120.Reverse Cymbal</translation>
    </message>
    <message>
        <source>121.Ruido de trastes</source>
        <translation>121.Guitar Fret Noise</translation>
    </message>
    <message>
        <source>122.Respiracion</source>
        <translation>122.Breath Noise</translation>
    </message>
    <message>
        <source>123.Orilla del mar</source>
        <translation>123.Seashore</translation>
    </message>
    <message>
        <source>124.Canto de pajaro</source>
        <translation>124.Bird Tweet</translation>
    </message>
    <message>
        <source>125.Timbre de telefono</source>
        <translation>125.Telephone Ring</translation>
    </message>
    <message>
        <source>126.Helicoptero</source>
        <translation>126.Helicopter</translation>
    </message>
    <message>
        <source>127.Aplausos</source>
        <translation>127.Applause</translation>
    </message>
    <message>
        <source>128.Disparo de arma</source>
        <translation>128.Gunshot</translation>
    </message>
    <message>
        <source>a variable-length number of more than four bytes</source>
        <translation>a variable-length number of more than four bytes</translation>
    </message>
    <message>
        <source>no MThd header</source>
        <translation>no MThd header</translation>
    </message>
    <message>
        <source>format %1, not 0 or 1</source>
        <translation>format %1, not 0 or 1</translation>
    </message>
    <message>
        <source>SMPTE timing is not supported</source>
        <translation>SMPTE timing is not supported</translation>
    </message>
    <message>
        <source>time division 0</source>
        <translation>time division 0</translation>
    </message>
    <message>
        <source>a missing MTrk chunk</source>
        <translation>a missing MTrk chunk</translation>
    </message>
    <message>
        <source>an event time beyond the largest tick</source>
        <translation>an event time beyond the largest tick</translation>
    </message>
    <message>
        <source>a data byte without a status byte</source>
        <translation>a data byte without a status byte</translation>
    </message>
    <message>
        <source>a status byte in place of a data byte</source>
        <translation>a status byte in place of a data byte</translation>
    </message>
    <message>
        <source>acompañamiento</source>
        <translation>backing</translation>
    </message>
    <message>
        <source>bajo</source>
        <translation>bass</translation>
    </message>
    <message>
        <source>batería</source>
        <translation>drum</translation>
    </message>
    <message>
        <source>el patrón necesita un nombre</source>
        <translation>the pattern needs a name</translation>
    </message>
    <message>
        <source>el nombre es demasiado largo: %1 bytes; caben %2</source>
        <translation>the name is too long: %1 bytes; %2 at most</translation>
    </message>
    <message>
        <source>el nombre no puede llevar «|» ni caracteres de control</source>
        <translation>the name cannot contain &quot;|&quot; or control characters</translation>
    </message>
    <message>
        <source>ya hay un patrón llamado «%1»</source>
        <translation>a pattern named &quot;%1&quot; already exists</translation>
    </message>
    <message>
        <source>la biblioteca del usuario ya tiene 999 patrones de %1</source>
        <translation>the user library already has 999 %1 patterns</translation>
    </message>
    <message>
        <source>a unit record of an unknown version or size</source>
        <translation>a unit record of an unknown version or size</translation>
    </message>
    <message>
        <source>a property record of an unknown version</source>
        <translation>a property record of an unknown version</translation>
    </message>
    <message>
        <source>A song holds 1 to %1 entries</source>
        <translation>A song holds 1 to %1 entries</translation>
    </message>
    <message>
        <source>not a song file</source>
        <translation>not a song file</translation>
    </message>
    <message>
        <source>a song file of an unknown version</source>
        <translation>a song file of an unknown version</translation>
    </message>
    <message>
        <source>%1 entries, not 1 to %2</source>
        <translation>%1 entries, not 1 to %2</translation>
    </message>
    <message>
        <source>the song does not start with its properties</source>
        <translation>the song does not start with its properties</translation>
    </message>
    <message>
        <source>fewer locks than the song has bars</source>
        <translation>fewer locks than the song has bars</translation>
    </message>
    <message>
        <source>more locks than the song has bars</source>
        <translation>more locks than the song has bars</translation>
    </message>
    <message>
        <source>A music unit without properties cannot be rendered</source>
        <translation>A music unit without properties cannot be rendered</translation>
    </message>
    <message>
        <source>The rendering was cancelled</source>
        <translation>The rendering was cancelled</translation>
    </message>
    <message>
        <source>the Ogg encoder wrote something not a page</source>
        <translation>the Ogg encoder wrote something not a page</translation>
    </message>
    <message>
        <source>the Ogg encoder went back in its file</source>
        <translation>the Ogg encoder went back in its file</translation>
    </message>
    <message>
        <source>A WAV file cannot be written to a pipe or a terminal: its header is completed at the end</source>
        <translation>A WAV file cannot be written to a pipe or a terminal: its header is completed at the end</translation>
    </message>
    <message>
        <source>the Ogg encoder left a page unfinished</source>
        <translation>the Ogg encoder left a page unfinished</translation>
    </message>
    <message>
        <source>The audio file %1 is not a regular file; the file output writes a WAV file there</source>
        <translation>The audio file %1 is not a regular file; the file output writes a WAV file there</translation>
    </message>
    <message>
        <source>No audio output could be opened (tried %1: %2). Connect a sound device or start the sound server (PipeWire or PulseAudio); lyravane-cli render writes a WAV file without one.</source>
        <translation>No audio output could be opened (tried %1: %2). Connect a sound device or start the sound server (PipeWire or PulseAudio); lyravane-cli render writes a WAV file without one.</translation>
    </message>
    <message>
        <source>The FluidSynth library could not be loaded (%1): install the package libfluidsynth3 (sudo apt install libfluidsynth3), and fluid-soundfont-gm for its instruments</source>
        <translation>The FluidSynth library could not be loaded (%1): install the package libfluidsynth3 (sudo apt install libfluidsynth3), and fluid-soundfont-gm for its instruments</translation>
    </message>
    <message>
        <source>The FluidSynth library lacks %1: install FluidSynth 2.2 or later (package libfluidsynth3)</source>
        <translation>The FluidSynth library lacks %1: install FluidSynth 2.2 or later (package libfluidsynth3)</translation>
    </message>
    <message>
        <source>The loudness meter cannot measure this sound</source>
        <translation>The loudness meter cannot measure this sound</translation>
    </message>
    <message>
        <source>Nothing to play: no MIDI file is open</source>
        <translation>Nothing to play: no MIDI file is open</translation>
    </message>
    <message>
        <source>Nothing to loop: the stretch to repeat is empty</source>
        <translation>Nothing to loop: the stretch to repeat is empty</translation>
    </message>
    <message>
        <source>The synthesiser failed while rendering%1</source>
        <translation>The synthesiser failed while rendering%1</translation>
    </message>
    <message>
        <source>The synthesiser cannot play this sequence%1</source>
        <translation>The synthesiser cannot play this sequence%1</translation>
    </message>
    <message>
        <source>No hay espacio libre suficiente en «%1» para normalizar el volumen: hacen falta %2 para el archivo temporal y quedan %3</source>
        <translation>Not enough free space in &quot;%1&quot; to normalise the volume: the temporary file needs %2 and %3 are left</translation>
    </message>
    <message>
        <source>No se pudo usar el archivo temporal de la normalización en «%1»: %2</source>
        <translation>The temporary file for normalisation in &quot;%1&quot; could not be used: %2</translation>
    </message>
    <message>
        <source>No se pudo cargar la biblioteca %1 (%2), necesaria para exportar audio: instale el paquete %3 (sudo apt install %3)</source>
        <translation>The library %1, needed to export audio, could not be loaded (%2): install the package %3 (sudo apt install %3)</translation>
    </message>
    <message>
        <source>The synthesiser could not be set up%1</source>
        <translation>The synthesiser could not be set up%1</translation>
    </message>
    <message>
        <source>The synthesiser could not be started%1</source>
        <translation>The synthesiser could not be started%1</translation>
    </message>
    <message>
        <source>The score is too large for a compressed MusicXML file</source>
        <translation>The score is too large for a compressed MusicXML file</translation>
    </message>
    <message>
        <source>Cannot start compressing the MusicXML file</source>
        <translation>Cannot start compressing the MusicXML file</translation>
    </message>
    <message>
        <source>Cannot compress the MusicXML file</source>
        <translation>Cannot compress the MusicXML file</translation>
    </message>
    <message>
        <source>the recovery folder cannot be made</source>
        <translation>the recovery folder cannot be made</translation>
    </message>
    <message>
        <source>folder not writable</source>
        <translation>folder not writable</translation>
    </message>
    <message>
        <source>the lock cannot be written</source>
        <translation>the lock cannot be written</translation>
    </message>
    <message>
        <source>no free recovery file name</source>
        <translation>no free recovery file name</translation>
    </message>
    <message>
        <source>y %1 notas más como estas</source>
        <translation>and %1 more notes like these</translation>
    </message>
    <message>
        <source>y %1 notas más como esta</source>
        <translation>and %1 more note like this</translation>
    </message>
    <message>
        <source>el compás es %1/%2; se espera 4/4</source>
        <translation>the time signature is %1/%2; 4/4 is expected</translation>
    </message>
    <message>
        <source>el patrón de %1 se puede usar: %2 compases, %3 notas</source>
        <translation>the %1 pattern can be used: %2 bars, %3 notes</translation>
    </message>
    <message>
        <source>el patrón de %1 no se puede usar:</source>
        <translation>the %1 pattern cannot be used:</translation>
    </message>
    <message>
        <source>la nota %1 del compás %2 no termina</source>
        <translation>note %1 in bar %2 never ends</translation>
    </message>
    <message>
        <source>la nota %1 del compás %2 pasa la barra del compás</source>
        <translation>note %1 in bar %2 runs over the bar line</translation>
    </message>
    <message>
        <source>la nota %1 del compás %2 no es un instrumento de percusión de General MIDI (%3 a %4)</source>
        <translation>note %1 in bar %2 is not a General MIDI percussion instrument (%3 to %4)</translation>
    </message>
    <message>
        <source>el archivo no tiene notas</source>
        <translation>the file has no notes</translation>
    </message>
    <message>
        <source>el patrón de %1 tiene %2 compás; se esperan %3</source>
        <translation>the %1 pattern has %2 bar; %3 are expected</translation>
    </message>
    <message>
        <source>el patrón de %1 tiene %2 compases; se esperan %3</source>
        <translation>the %1 pattern has %2 bars; %3 are expected</translation>
    </message>
    <message>
        <source>el archivo no es un MIDI que se pueda leer (%1)</source>
        <translation>the file is not a MIDI file that can be read (%1)</translation>
    </message>
    <message>
        <source>Melodía</source>
        <translation>Melody</translation>
    </message>
    <message>
        <source>Acomp. 1</source>
        <translation>Backing 1</translation>
    </message>
    <message>
        <source>Acomp. 2</source>
        <translation>Backing 2</translation>
    </message>
    <message>
        <source>Bajo</source>
        <translation>Bass</translation>
    </message>
    <message>
        <source>Batería</source>
        <translation>Drums</translation>
    </message>
    <message>
        <source>Parts are rendered to WAV or FLAC by a synthesiser with part outputs</source>
        <translation>Parts are rendered to WAV or FLAC by a synthesiser with part outputs</translation>
    </message>
</context>
<context>
    <name>TDialEdit</name>
    <message>
        <source>Rueda</source>
        <translation>Dial</translation>
    </message>
    <message>
        <source>, rueda</source>
        <translation>, dial</translation>
    </message>
</context>
<context>
    <name>TExportRunner</name>
    <message>
        <source>Exportado: %1</source>
        <translation>Exported: %1</translation>
    </message>
    <message>
        <source>Exportación cancelada</source>
        <translation>Export cancelled</translation>
    </message>
    <message>
        <source>«%1» es el archivo de la canción abierta. Elija otro nombre para exportar.</source>
        <translation>&quot;%1&quot; is the open song&apos;s file. Choose another name for the export.</translation>
    </message>
    <message>
        <source>Exportando %1...</source>
        <translation>Exporting %1...</translation>
    </message>
    <message>
        <source>Cancelando...</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TFormAbout</name>
    <message>
        <source>Lyravane 1999 - Informacion de Version</source>
        <translation>Lyravane 1999 - Version Information</translation>
    </message>
    <message>
        <source>Copyright (C) 1999 Vemora. Hecho con Qt 6 y FluidSynth.</source>
        <translation>Copyright (C) 1999 Vemora. Made with Qt 6 and FluidSynth.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Lyravane 1999 Version 1.22</source>
        <translation>Lyravane 1999 Version 1.22</translation>
    </message>
</context>
<context>
    <name>TFormAddPattern</name>
    <message>
        <source>Añadir patrón</source>
        <translation>Add Pattern</translation>
    </message>
    <message>
        <source>&amp;Examinar...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>Acompañamiento</source>
        <translation>Backing</translation>
    </message>
    <message>
        <source>Bajo</source>
        <translation>Bass</translation>
    </message>
    <message>
        <source>Batería</source>
        <translation>Drums</translation>
    </message>
    <message>
        <source>A&amp;rchivo MIDI:</source>
        <translation>MIDI &amp;file:</translation>
    </message>
    <message>
        <source>&amp;Tipo:</source>
        <translation>&amp;Type:</translation>
    </message>
    <message>
        <source>&amp;Nombre:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Añadir</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Archivo MIDI del patrón</source>
        <translation>Pattern MIDI File</translation>
    </message>
    <message>
        <source>Archivo MIDI (*.mid *.MID *.midi)|*.mid|Todos los archivos (*)|*|</source>
        <extracomment>Description|pattern pairs: the patterns and the &quot;|&quot; separators stay as they are.</extracomment>
        <translation>MIDI file (*.mid *.MID *.midi)|*.mid|All files (*)|*|</translation>
    </message>
</context>
<context>
    <name>TFormHelp</name>
    <message>
        <source>Lyravane 1999 - Ayuda</source>
        <translation>Lyravane 1999 - Help</translation>
    </message>
    <message>
        <source>&amp;Contenido</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>&amp;Atras</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>A&amp;delante</source>
        <translation>&amp;Forward</translation>
    </message>
</context>
<context>
    <name>TFormMixer</name>
    <message>
        <source>Mezclador</source>
        <translation>Mixer</translation>
    </message>
    <message>
        <source>%1: volumen</source>
        <translation>%1: volume</translation>
    </message>
    <message>
        <source>Silencio</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>%1: silencio</source>
        <translation>%1: mute</translation>
    </message>
    <message>
        <source>Solo</source>
        <translation>Solo</translation>
    </message>
    <message>
        <source>%1: solo</source>
        <translation>%1: solo</translation>
    </message>
</context>
<context>
    <name>TFormMusicMeasures</name>
    <message>
        <source>Estimar forma musica</source>
        <translation>Estimate Musical Form</translation>
    </message>
    <message>
        <source>Compone los compases sin bloquear (F9)</source>
        <translation>Compose the unlocked bars (F9)</translation>
    </message>
    <message>
        <source>Composicion Automatica</source>
        <translation>Auto Composition</translation>
    </message>
    <message>
        <source>Comp. Automatica</source>
        <translation>Auto Compose</translation>
    </message>
    <message>
        <source>Comp. Automatica de Acordes</source>
        <translation>Auto Chords</translation>
    </message>
    <message>
        <source>Auto longitud/Comp. Melodia</source>
        <translation>Auto Length/Melody</translation>
    </message>
    <message>
        <source>Comp. Automatica Melodia</source>
        <translation>Auto Melody</translation>
    </message>
    <message>
        <source>Limpiar Partitura</source>
        <translation>Clear Pattern</translation>
    </message>
    <message>
        <source>Desbloquear Todo</source>
        <translation>Unlock All</translation>
    </message>
    <message>
        <source>Bloquear Todo</source>
        <translation>Lock All</translation>
    </message>
    <message>
        <source>Opcion</source>
        <translation>Option</translation>
    </message>
    <message>
        <source>Parar Forma</source>
        <translation>Cadence</translation>
    </message>
    <message>
        <source>Notas Cortas</source>
        <translation>Short Notes</translation>
    </message>
    <message>
        <source>Melodia Armonica</source>
        <translation>Harmony Voice</translation>
    </message>
    <message>
        <source>Llenar</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>Todos los compases están bloqueados.</source>
        <translation>All bars are locked.</translation>
    </message>
    <message>
        <source>Comp. Automática</source>
        <translation>Auto Compose</translation>
    </message>
    <message>
        <source>Comp. Automática de Acordes</source>
        <translation>Auto Chords</translation>
    </message>
    <message>
        <source>Auto longitud/Comp. Melodía</source>
        <translation>Auto Length/Melody</translation>
    </message>
    <message>
        <source>Comp. Automática Melodía</source>
        <translation>Auto Melody</translation>
    </message>
    <message>
        <source>Melodía Armónica</source>
        <translation>Harmony Voice</translation>
    </message>
    <message>
        <source>Acorde</source>
        <translation>Chord</translation>
    </message>
    <message>
        <source>Longitud</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Melodia</source>
        <translation>Melody</translation>
    </message>
    <message>
        <source>Barra </source>
        <translation>Bar </translation>
    </message>
    <message>
        <source>Bloqueado</source>
        <translation>Locked</translation>
    </message>
    <message>
        <source>Compás %1 bloqueado</source>
        <translation>Bar %1 locked</translation>
    </message>
    <message>
        <source>Compás %1, %2 mitad, acorde</source>
        <translation>Bar %1, %2 half, chord</translation>
    </message>
    <message>
        <source>primera</source>
        <translation>first</translation>
    </message>
    <message>
        <source>segunda</source>
        <translation>second</translation>
    </message>
    <message>
        <source>Melodía</source>
        <translation>Melody</translation>
    </message>
    <message>
        <source>sin acorde</source>
        <translation>no chord</translation>
    </message>
    <message>
        <source>nota</source>
        <translation>note</translation>
    </message>
    <message>
        <source>prolongación</source>
        <translation>hold</translation>
    </message>
    <message>
        <source>silencio</source>
        <translation>rest</translation>
    </message>
    <message>
        <source> agudo</source>
        <translation> high</translation>
    </message>
    <message>
        <source> grave</source>
        <translation> low</translation>
    </message>
    <message>
        <source> (prolongación)</source>
        <translation> (held)</translation>
    </message>
    <message>
        <source>Compás %1, melodía paso %2: %3</source>
        <translation>Bar %1, melody step %2: %3</translation>
    </message>
    <message>
        <source>Compás %1, paso %2, ritmo: %3</source>
        <translation>Bar %1, step %2, rhythm: %3</translation>
    </message>
    <message>
        <source>, bloqueado</source>
        <translation>, locked</translation>
    </message>
</context>
<context>
    <name>TFormMusicProperty</name>
    <message>
        <source>C-Maj.</source>
        <translation>C-Maj.</translation>
    </message>
    <message>
        <source>Db-Maj. </source>
        <translation>Db-Maj. </translation>
    </message>
    <message>
        <source>D-Maj.</source>
        <translation>D-Maj.</translation>
    </message>
    <message>
        <source>Eb-Maj. </source>
        <translation>Eb-Maj. </translation>
    </message>
    <message>
        <source>E-Maj.</source>
        <translation>E-Maj.</translation>
    </message>
    <message>
        <source>F-Maj.</source>
        <translation>F-Maj.</translation>
    </message>
    <message>
        <source>Gb-Maj. </source>
        <translation>Gb-Maj. </translation>
    </message>
    <message>
        <source>G-Maj.</source>
        <translation>G-Maj.</translation>
    </message>
    <message>
        <source>Ab-Maj. </source>
        <translation>Ab-Maj. </translation>
    </message>
    <message>
        <source>A-Maj.</source>
        <translation>A-Maj.</translation>
    </message>
    <message>
        <source>Bb-Maj. </source>
        <translation>Bb-Maj. </translation>
    </message>
    <message>
        <source>B-Maj.</source>
        <translation>B-Maj.</translation>
    </message>
    <message>
        <source>C-Min.</source>
        <translation>C-Min.</translation>
    </message>
    <message>
        <source>Db-Min. </source>
        <translation>Db-Min. </translation>
    </message>
    <message>
        <source>D-Min.</source>
        <translation>D-Min.</translation>
    </message>
    <message>
        <source>Eb-Min</source>
        <translation>Eb-Min</translation>
    </message>
    <message>
        <source>E-Min.  </source>
        <translation>E-Min.  </translation>
    </message>
    <message>
        <source>F-Min.</source>
        <translation>F-Min.</translation>
    </message>
    <message>
        <source>Gb-Min. </source>
        <translation>Gb-Min. </translation>
    </message>
    <message>
        <source>G-Min.</source>
        <translation>G-Min.</translation>
    </message>
    <message>
        <source>Ab-Min</source>
        <translation>Ab-Min</translation>
    </message>
    <message>
        <source>A-Min.  </source>
        <translation>A-Min.  </translation>
    </message>
    <message>
        <source>Bb-Min</source>
        <translation>Bb-Min</translation>
    </message>
    <message>
        <source>B-Min.  </source>
        <translation>B-Min.  </translation>
    </message>
    <message>
        <source>Melodia</source>
        <translation>Melody</translation>
    </message>
    <message>
        <source>Acomp. 1</source>
        <translation>Backing 1</translation>
    </message>
    <message>
        <source>Acomp. 2</source>
        <translation>Backing 2</translation>
    </message>
    <message>
        <source>Bajo</source>
        <translation>Bass</translation>
    </message>
    <message>
        <source>Bateria</source>
        <translation>Drums</translation>
    </message>
    <message>
        <source>Volumen</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Posicion de la Toma</source>
        <translation>Pan</translation>
    </message>
    <message>
        <source>Reverb</source>
        <translation>Reverb</translation>
    </message>
    <message>
        <source>Estribillo</source>
        <translation>Chorus</translation>
    </message>
    <message>
        <source>Volumen de la parte, de 0 a 127</source>
        <translation>Part volume, from 0 to 127</translation>
    </message>
    <message>
        <source>Panorama: 0 a la izquierda, 64 en el centro, 127 a la derecha</source>
        <translation>Pan: 0 on the left, 64 in the centre, 127 on the right</translation>
    </message>
    <message>
        <source>Cantidad de reverberación, de 0 a 127</source>
        <translation>Amount of reverb, from 0 to 127</translation>
    </message>
    <message>
        <source>Cantidad de efecto de coro (chorus), de 0 a 127</source>
        <translation>Amount of chorus effect, from 0 to 127</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Option</translation>
    </message>
    <message>
        <source>Usar Acordes de 7th</source>
        <translation>Use 7th Chords</translation>
    </message>
    <message>
        <source>Usar Atrapar Bateria</source>
        <translation>Use Alt. Snare</translation>
    </message>
    <message>
        <source>Melodia de 1 Octava Arriba</source>
        <translation>Melody 1 Octave Up</translation>
    </message>
    <message>
        <source>Escala</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Mayor</source>
        <translation>Major</translation>
    </message>
    <message>
        <source>Menor</source>
        <translation>Minor</translation>
    </message>
    <message>
        <source>Composicion Aleatoria</source>
        <translation>Random Composition</translation>
    </message>
    <message>
        <source>Tecla</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Transposición de la canción en semitonos, de -12 a 12</source>
        <translation>Song transposition in semitones, from -12 to 12</translation>
    </message>
    <message>
        <source>C-May.</source>
        <translation>C-Maj.</translation>
    </message>
    <message>
        <source>Tiempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Tempo en negras por minuto, de 10 a 250</source>
        <translation>Tempo in quarter notes per minute, from 10 to 250</translation>
    </message>
    <message>
        <source>Ordenar Partitura</source>
        <translation>Arrangement</translation>
    </message>
    <message>
        <source>Escuchar %1</source>
        <translation>Listen to %1</translation>
    </message>
    <message>
        <source>Destino de la Creacion</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>Instrumento</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>Instrumento de </source>
        <translation>Instrument for </translation>
    </message>
    <message>
        <source>Composición Aleatoria</source>
        <translation>Random Composition</translation>
    </message>
    <message>
        <source>Usar Acordes de 7.ª</source>
        <translation>Use 7th Chords</translation>
    </message>
    <message>
        <source>Usar Atrapar Batería</source>
        <translation>Use Alt. Snare</translation>
    </message>
    <message>
        <source>Melodía de 1 Octava Arriba</source>
        <translation>Melody 1 Octave Up</translation>
    </message>
    <message>
        <source>Tonalidad</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Patrón</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>Panorama</source>
        <translation>Pan</translation>
    </message>
    <message>
        <source>Reverberación</source>
        <translation>Reverb</translation>
    </message>
    <message>
        <source>Coro</source>
        <translation>Chorus</translation>
    </message>
</context>
<context>
    <name>TFormOption</name>
    <message>
        <source>  Opciones  </source>
        <translation>  Options  </translation>
    </message>
    <message>
        <source>Song Repeat </source>
        <translation>Song Repeat </translation>
    </message>
    <message>
        <source>Sistema G.MIDI On</source>
        <translation>GM System On</translation>
    </message>
    <message>
        <source>Incluido </source>
        <translation>Included </translation>
    </message>
    <message>
        <source>Excluido </source>
        <translation>Excluded </translation>
    </message>
    <message>
        <source>&amp;Nombres de pista en MIDI</source>
        <translation>&amp;Track names in MIDI</translation>
    </message>
    <message>
        <source>&amp;Tamaño de la ventana:</source>
        <translation>&amp;Window size:</translation>
    </message>
    <message>
        <source>Se aplica al volver a abrir el programa</source>
        <translation>Applies when the program is reopened</translation>
    </message>
    <message>
        <source>&amp;Idioma:</source>
        <translation>&amp;Language:</translation>
    </message>
    <message>
        <source>Según el sistema</source>
        <translation>System default</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>  &amp;Cancelar  </source>
        <translation>  &amp;Cancel  </translation>
    </message>
    <message>
        <source>Exportar a audio</source>
        <translation>Export to audio</translation>
    </message>
    <message>
        <source>&amp;Normalizar volumen</source>
        <translation>&amp;Normalise volume</translation>
    </message>
    <message>
        <source>&amp;Objetivo:</source>
        <translation>Tar&amp;get:</translation>
    </message>
    <message>
        <source>Elegir otro archivo SoundFont</source>
        <translation>Choose another SoundFont file</translation>
    </message>
    <message>
        <source>Elegir SoundFont</source>
        <translation>Choose SoundFont</translation>
    </message>
    <message>
        <source>SoundFont|*.sf2 *.sf3|</source>
        <translation>SoundFont|*.sf2 *.sf3|</translation>
    </message>
    <message>
        <source>ninguno</source>
        <translation>none</translation>
    </message>
    <message>
        <source>En uso: %1</source>
        <translation>In use: %1</translation>
    </message>
</context>
<context>
    <name>TLyravaneApplication</name>
    <message>
        <source>Error desconocido</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>B01</source>
        <translation>B01</translation>
    </message>
</context>
<context>
    <name>TLyravaneMainForm</name>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Save As...      </source>
        <translation>Save As...      </translation>
    </message>
    <message>
        <source>Export to MIDI  </source>
        <translation>Export to MIDI  </translation>
    </message>
    <message>
        <source> Lyravane file (*.lvp)|*.lvp|</source>
        <translation> Lyravane file (*.lvp)|*.lvp|</translation>
    </message>
    <message>
        <source>MIDI File (*.mid)   |*.mid|</source>
        <translation>MIDI File (*.mid)   |*.mid|</translation>
    </message>
    <message>
        <source>Exportar partitura (MusicXML)</source>
        <translation>Export Score (MusicXML)</translation>
    </message>
    <message>
        <source>Partitura MusicXML (*.musicxml)|*.musicxml|MusicXML comprimido (*.mxl)|*.mxl|</source>
        <translation>MusicXML score (*.musicxml)|*.musicxml|Compressed MusicXML (*.mxl)|*.mxl|</translation>
    </message>
    <message>
        <source>Partitura &amp;completa: la melodía y las cuatro partes del acompañamiento</source>
        <translation>&amp;Full score: the melody and the four backing parts</translation>
    </message>
    <message>
        <source>Exportar a audio</source>
        <translation>Export to Audio</translation>
    </message>
    <message>
        <source>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|Ogg Vorbis (*.ogg)|*.ogg|</source>
        <translation>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|Ogg Vorbis (*.ogg)|*.ogg|</translation>
    </message>
    <message>
        <source>&amp;Nuevo...</source>
        <translation>&amp;New...</translation>
    </message>
    <message>
        <source>Empezar un nuevo proyecto.</source>
        <translation>Start a new project.</translation>
    </message>
    <message>
        <source>&amp;Abrir...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Abrir un proyecto ya creado.</source>
        <translation>Open an existing project.</translation>
    </message>
    <message>
        <source>&amp;Ultimo Archivo...</source>
        <translation>&amp;Last File...</translation>
    </message>
    <message>
        <source>Volver al ultimo archivo abierto.</source>
        <translation>Go back to the last file opened.</translation>
    </message>
    <message>
        <source>&amp;Salvar</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Salvar proyecto actual a disco.</source>
        <translation>Save the current project to disk.</translation>
    </message>
    <message>
        <source>Salvar &amp;Como...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>Salvar el proyecto actual como...</source>
        <translation>Save the current project as...</translation>
    </message>
    <message>
        <source>Exportar a &amp;MIDI...</source>
        <translation>Export to &amp;MIDI...</translation>
    </message>
    <message>
        <source>Exporta el proyecto actual a un archivo MIDI.</source>
        <translation>Export the current project to a MIDI file.</translation>
    </message>
    <message>
        <source>Exportar &amp;partitura (MusicXML)...</source>
        <translation>Export S&amp;core (MusicXML)...</translation>
    </message>
    <message>
        <source>Exporta la canción como partitura MusicXML: melodía y acordes, o la partitura completa.</source>
        <translation>Export the song as a MusicXML score: melody and chords, or the full score.</translation>
    </message>
    <message>
        <source>Exportar partitura a MIDI...</source>
        <translation>Export Pattern to MIDI...</translation>
    </message>
    <message>
        <source>Exporta esta partitura a un archivo MIDI, como la reproduce &quot;Reproducir partitura&quot;.</source>
        <translation>Export this pattern to a MIDI file, as &quot;Play Pattern&quot; plays it.</translation>
    </message>
    <message>
        <source>Exportar a au&amp;dio...</source>
        <translation>Export to Au&amp;dio...</translation>
    </message>
    <message>
        <source>Exporta la canción a un archivo de sonido (WAV, FLAC u Ogg Vorbis).</source>
        <translation>Export the song to an audio file (WAV, FLAC or Ogg Vorbis).</translation>
    </message>
    <message>
        <source>Archivo mas reciente.</source>
        <translation>Most recent file.</translation>
    </message>
    <message>
        <source>Proyecto mas reciente.</source>
        <translation>Most recent project.</translation>
    </message>
    <message>
        <source>S&amp;alir</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Quitar Lyravane 1999</source>
        <translation>Quit Lyravane 1999</translation>
    </message>
    <message>
        <source>Reproducir partitura</source>
        <translation>Play Pattern</translation>
    </message>
    <message>
        <source>Reproducir la partitura actual.</source>
        <translation>Play the current pattern.</translation>
    </message>
    <message>
        <source>&amp;Reproducir cancion</source>
        <translation>&amp;Play Song</translation>
    </message>
    <message>
        <source>Reproducir cancion actual.</source>
        <translation>Play the current song.</translation>
    </message>
    <message>
        <source>&amp;Parar</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Para de reproducir.</source>
        <translation>Stop playing.</translation>
    </message>
    <message>
        <source>Reproducir desde &amp;aquí</source>
        <translation>Play from &amp;Here</translation>
    </message>
    <message>
        <source>Reproduce la canción desde la partitura actual hasta el final.</source>
        <translation>Play the song from the current pattern to the end.</translation>
    </message>
    <message>
        <source>Re&amp;petir partitura</source>
        <translation>&amp;Loop Pattern</translation>
    </message>
    <message>
        <source>Reproducir partitura repite la partitura actual hasta Parar.</source>
        <translation>Play Pattern repeats the current pattern until Stop.</translation>
    </message>
    <message>
        <source>Reproducir o parar</source>
        <translation>Play or Stop</translation>
    </message>
    <message>
        <source>Repite la última orden de reproducir, o para lo que suena.</source>
        <translation>Repeat the last play command, or stop what is playing.</translation>
    </message>
    <message>
        <source>Añadir &amp;patrón...</source>
        <translation>&amp;Add Pattern...</translation>
    </message>
    <message>
        <source>Añade un archivo MIDI propio a la biblioteca de patrones.</source>
        <translation>Add your own MIDI file to the pattern library.</translation>
    </message>
    <message>
        <source>&amp;Opciones...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>Configurar las opciones.</source>
        <translation>Set the options.</translation>
    </message>
    <message>
        <source>&amp;Contenido</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>Enseña el contenido de la ayuda.</source>
        <translation>Show the help contents.</translation>
    </message>
    <message>
        <source>&amp;Acerca...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>Acerca Lyravane 1999</source>
        <translation>About Lyravane 1999</translation>
    </message>
    <message>
        <source>&amp;Deshacer</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Deshace el último cambio de la canción.</source>
        <translation>Undo the last change to the song.</translation>
    </message>
    <message>
        <source>&amp;Rehacer</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Rehace el último cambio deshecho.</source>
        <translation>Redo the last undone change.</translation>
    </message>
    <message>
        <source>Insertar</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Inserta una nueva partitura</source>
        <translation>Insert a new pattern</translation>
    </message>
    <message>
        <source>C&amp;orta</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>Remueve la partitura actual y la pega al Portapeles</source>
        <translation>Cut the current pattern to the Clipboard</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Copia la partitura actual al Portapapeles</source>
        <translation>Copy the current pattern to the Clipboard</translation>
    </message>
    <message>
        <source>&amp;Pegar</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Inserta una partitura del Portapapeles</source>
        <translation>Insert a pattern from the Clipboard</translation>
    </message>
    <message>
        <source>&amp;Borrar</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Borrar la partitura actual</source>
        <translation>Delete the current pattern</translation>
    </message>
    <message>
        <source>Cortar</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Borrar</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Reproducir</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>&amp;Ayuda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Todas las pestañas</source>
        <translation>All tabs</translation>
    </message>
    <message>
        <source>Cargando el SoundFont %1...</source>
        <translation>Loading the SoundFont %1...</translation>
    </message>
    <message>
        <source>El nuevo tamaño de la ventana se aplicará al volver a abrir el programa</source>
        <translation>The new window size applies when the program is reopened</translation>
    </message>
    <message>
        <source>El nuevo idioma se aplicará al volver a abrir el programa</source>
        <translation>The new language applies when the program is reopened</translation>
    </message>
    <message>
        <source>SoundFont listo: %1</source>
        <translation>SoundFont ready: %1</translation>
    </message>
    <message>
        <source>No se pudo cargar el SoundFont %1; se sigue usando %2.</source>
        <translation>The SoundFont %1 could not be loaded; still using %2.</translation>
    </message>
    <message>
        <source>ファイル &apos;%s&apos; がオープンできませんでした。</source>
        <translation>The file &apos;%s&apos; could not be opened.</translation>
    </message>
    <message>
        <source>ファイル &apos;%s&apos; は有効な形式ではありません。</source>
        <translation>The file &apos;%s&apos; is not in a valid format.</translation>
    </message>
    <message>
        <source>ファイル &apos;%s&apos; への書き込みができませんでした。</source>
        <translation>The file &apos;%s&apos; could not be written.</translation>
    </message>
    <message>
        <source>変更をすべて破棄します。よろしいですか？</source>
        <translation>All changes will be discarded. Do you want to continue?</translation>
    </message>
    <message>
        <source>%s has changed. Save now ? </source>
        <translation>%s has changed. Save it now?</translation>
    </message>
    <message>
        <source>Se encontró una copia sin guardar de «%1» (%2). ¿Desea recuperarla?</source>
        <translation>An unsaved copy of &quot;%1&quot; (%2) was found. Do you want to recover it?</translation>
    </message>
    <message>
        <source>No se pudo leer la canción sin guardar de una sesión anterior. El archivo se ha guardado aparte en:
%1</source>
        <translation>The unsaved song from an earlier session could not be read. The file has been kept aside in:
%1</translation>
    </message>
    <message>
        <source>Guardado: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>No se encuentra el patrón «%1» (%2): esa parte no sonará.</source>
        <translation>Pattern &quot;%1&quot; (%2) not found: that part will be silent.</translation>
    </message>
    <message>
        <source> Faltan %1 patrones más.</source>
        <translation> %1 more patterns are missing.</translation>
    </message>
    <message>
        <source>Sin título</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>elija el archivo MIDI del patrón</source>
        <translation>choose the pattern&apos;s MIDI file</translation>
    </message>
    <message>
        <source>Patrón «%1» añadido a la lista de %2.</source>
        <translation>Pattern &quot;%1&quot; added to the %2 list.</translation>
    </message>
    <message>
        <source>Composition</source>
        <translation>Composition</translation>
    </message>
    <message>
        <source>Ptn.%1</source>
        <translation>Ptn.%1</translation>
    </message>
    <message>
        <source>No se pudo escribir el archivo de recuperación: %1</source>
        <translation>The recovery file could not be written: %1</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda: </source>
        <translation>Cannot open the help: </translation>
    </message>
    <message>
        <source>&amp;Claqueta</source>
        <translation>Count-&amp;in</translation>
    </message>
    <message>
        <source>Un compás de golpes de metrónomo antes de empezar a reproducir.</source>
        <translation>One bar of metronome clicks before playback starts.</translation>
    </message>
    <message>
        <source>&amp;Metrónomo</source>
        <translation>&amp;Metronome</translation>
    </message>
    <message>
        <source>Un golpe en cada tiempo mientras se reproduce.</source>
        <translation>A click on every beat while playing.</translation>
    </message>
    <message>
        <source>Me&amp;zclador...</source>
        <translation>Mi&amp;xer...</translation>
    </message>
    <message>
        <source>Volumen, silencio y solo de cada parte mientras suena.</source>
        <translation>Volume, mute and solo of each part while it plays.</translation>
    </message>
    <message>
        <source>Volumen</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Exportar pistas de audio</source>
        <translation>Export Audio Stems</translation>
    </message>
    <message>
        <source>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|</source>
        <translation>WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|</translation>
    </message>
    <message>
        <source>Exportar pis&amp;tas de audio...</source>
        <translation>Export S&amp;tems...</translation>
    </message>
    <message>
        <source>Exporta cada parte a un archivo de sonido propio (WAV o FLAC), para un editor de audio: sumadas, suenan como la exportación a audio.</source>
        <translation>Exports each part to a sound file of its own (WAV or FLAC), for an audio editor: summed, they sound as the audio export does.</translation>
    </message>
    <message>
        <source>&amp;Vista de la canción</source>
        <translation>Song &amp;overview</translation>
    </message>
    <message>
        <source>Muestra la canción entera bajo las pestañas: cada partitura con sus acordes.</source>
        <translation>Shows the whole song under the tabs: every score with its chords.</translation>
    </message>
    <message>
        <source>Componer ca&amp;nción</source>
        <translation>Compose so&amp;ng</translation>
    </message>
    <message>
        <source>Comp. Automatica en cada partitura de la canción, en orden, dejando los compases bloqueados.</source>
        <translation>Auto Compose on every score of the song, in order, leaving the locked bars alone.</translation>
    </message>
    <message>
        <source>&amp;Duplicar</source>
        <translation>&amp;Duplicate</translation>
    </message>
    <message>
        <source>Inserta una copia de la partitura actual después de ella.</source>
        <translation>Inserts a copy of the current score after it.</translation>
    </message>
    <message>
        <source>Duplicar</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>Componer
canción</source>
        <translation>Compose
song</translation>
    </message>
    <message>
        <source>Duración: %1 (%2 veces)</source>
        <translation>Length: %1 (%2 times)</translation>
    </message>
    <message>
        <source>Duración: %1</source>
        <translation>Length: %1</translation>
    </message>
    <message>
        <source>Componer canción</source>
        <translation>Compose song</translation>
    </message>
    <message>
        <source>Mover</source>
        <translation>Move</translation>
    </message>
</context>
<context>
    <name>TMeasureGlyphs</name>
    <message>
        <source>Do</source>
        <translation>C</translation>
    </message>
    <message>
        <source>Re</source>
        <translation>D</translation>
    </message>
    <message>
        <source>Mi</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Fa</source>
        <translation>F</translation>
    </message>
    <message>
        <source>Sol</source>
        <translation>G</translation>
    </message>
    <message>
        <source>La</source>
        <translation>A</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>B</translation>
    </message>
</context>
<context>
    <name>TMeasureRowFrame</name>
    <message>
        <source>Compás %1, %2</source>
        <translation>Bar %1, %2</translation>
    </message>
    <message>
        <source>melodía</source>
        <translation>melody</translation>
    </message>
    <message>
        <source>ritmo</source>
        <translation>rhythm</translation>
    </message>
</context>
<context>
    <name>TMessageBoxes</name>
    <message>
        <source>No hay ningún SoundFont en %1.</source>
        <translation>There is no SoundFont at %1.</translation>
    </message>
    <message>
        <source>%1 es una carpeta, no un SoundFont.</source>
        <translation>%1 is a folder, not a SoundFont.</translation>
    </message>
    <message>
        <source>%1 no es un archivo normal (es una tubería, un dispositivo o un socket), y no se puede usar como SoundFont.</source>
        <translation>%1 is not a regular file (it is a pipe, a device or a socket) and cannot be used as a SoundFont.</translation>
    </message>
    <message>
        <source>No se puede leer el SoundFont %1.</source>
        <translation>The SoundFont %1 cannot be read.</translation>
    </message>
    <message>
        <source>%1 no es un archivo SoundFont (.sf2 o .sf3).</source>
        <translation>%1 is not a SoundFont file (.sf2 or .sf3).</translation>
    </message>
    <message>
        <source>El sintetizador no pudo cargar el SoundFont %1.</source>
        <translation>The synthesiser could not load the SoundFont %1.</translation>
    </message>
    <message>
        <source>Instale el paquete fluid-soundfont-gm o elija otro SoundFont en Opciones.</source>
        <translation>Install the package fluid-soundfont-gm or choose another SoundFont in Options.</translation>
    </message>
    <message>
        <source>&amp;Sí</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>TPlayController</name>
    <message>
        <source>Reproduciendo Ptn.%1 · compás %2 · %3 / %4</source>
        <translation>Playing Ptn.%1 · bar %2 · %3 / %4</translation>
    </message>
</context>
<context>
    <name>TSongDocument</name>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>TSongOverview</name>
    <message>
        <source>Ptn.%1</source>
        <translation>Ptn.%1</translation>
    </message>
    <message>
        <source>%1, compases %2 a %3: %4</source>
        <translation>%1, bars %2 to %3: %4</translation>
    </message>
    <message>
        <source>Sin compases bloqueados</source>
        <translation>No locked bars</translation>
    </message>
    <message>
        <source>Compases bloqueados: %1</source>
        <translation>Locked bars: %1</translation>
    </message>
    <message>
        <source>Vista de la canción</source>
        <translation>Song overview</translation>
    </message>
</context>
<context>
    <name>TSpinButton</name>
    <message>
        <source>Aumentar</source>
        <translation>Increase</translation>
    </message>
    <message>
        <source>Disminuir</source>
        <translation>Decrease</translation>
    </message>
</context>
<context>
    <name>WindowUtils</name>
    <message>
        <source>hoy, </source>
        <translation>today, </translation>
    </message>
    <message>
        <source>ayer, </source>
        <translation>yesterday, </translation>
    </message>
</context>
</TS>
