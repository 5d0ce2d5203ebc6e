package visualizador.conexao;

import static java.util.stream.Collectors.joining;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;
import visualizador.dados.Ambiente.Sistema;

/**
 * The [Zarvent] service read as libpq reads it, from files in a temporary home ($T): which
 * service file, which section, which password file and line, which variable. Files are
 * "path=content" (mode 0600 unless "path MODE="), \n between lines; the result is each host
 * tried with its password, or "!" and a part of the error message.
 */
class RegrasLibpqTest {
    @TempDir
    Path pasta;

    @ParameterizedTest(name = "{1}: {0}")
    @CsvSource(delimiter = '|', textBlock = """
        o arquivo do usuário vence o do sistema    | POSIX | .pg_service.conf=[Zarvent]\\nhost=usuario; etc/pg_service.conf=[Zarvent]\\nhost=sistema\\nport=7 | PGSYSCONFDIR=$T/etc | usuario:5432=
        o do sistema quando o do usuário não o tem | POSIX | .pg_service.conf=[Outro]\\nhost=x; etc/pg_service.conf=[Zarvent]\\nhost=sistema\\nport=7 | PGSYSCONFDIR=$T/etc | sistema:7=
        PGSERVICEFILE no lugar do ~                | POSIX | .pg_service.conf=[Zarvent]\\nhost=casa; outro.conf=[Zarvent]\\nhost=variavel | PGSERVICEFILE=$T/outro.conf | variavel:5432=
        a seção acaba na seguinte                  | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\n[Outro]\\nhost=b\\nport=9\\npassword=x | | a:5432=
        seções antes da do serviço                 | POSIX | .pg_service.conf=# c\\n[Outro]\\nhost=b\\nport=9\\n\\n[Zarvent]\\n host = a | | a:5432=
        chave repetida: vale a primeira            | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\nhost=b | | a:5432=
        serviço repetido: vale a primeira seção    | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\n[Zarvent]\\nhost=b\\nport=9 | | a:5432=
        cabeçalho sem ]                            | POSIX | .pg_service.conf=[Zarvent\\nhost=a | | !inválido na linha 1
        serviço em nenhum arquivo                  | POSIX | .pg_service.conf=[Outro]\\nhost=x | PGSYSCONFDIR=$T/etc | !Procurado em: $T/.pg_service.conf, $T/etc/pg_service.conf.
        pgpass: a linha específica antes do *      | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=a:5432:*:*:especifica\\n*:*:*:*:geral | | a:5432=especifica
        pgpass: o * antes da específica            | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=*:*:*:*:geral\\na:5432:*:*:especifica | | a:5432=geral
        pgpass: banco e usuário comparados         | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\ndbname=d\\nuser=u; .pgpass=a:5432:d:v:x\\na:5432:e:u:y\\n*:*:d:u:z | | a:5432=z
        pgpass: \\: e \\\\ na senha                | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=a:5432:*:*:x\\:y\\\\z | | a:5432=x:y\\z
        pgpass: IPv6 com \\:                       | POSIX | .pg_service.conf=[Zarvent]\\nhost=::1; .pgpass=\\:\\:1:5432:*:*:v6 | | [::1]:5432=v6
        pgpass: \\* é uma estrela, não o coringa    | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=\\*:5432:*:*:x | | a:5432=
        pgpass: a senha acaba no : seguinte        | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=a:5432:*:*:s:resto | | a:5432=s
        pgpass: comentário e linha curta           | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=#a:5432:*:*:c\\na:5432:*\\n*:*:*:*:boa | | a:5432=boa
        pgpass: senha vazia é nenhuma              | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=a:5432:*:*:\\n*:*:*:*:outra | | a:5432=
        pgpass: uma senha para cada host           | POSIX | .pg_service.conf=[Zarvent]\\nhost=a,b\\nport=1,2; .pgpass=b:2:*:*:sb\\na:*:*:*:sa | | a:1=sa b:2=sb
        a senha do serviço vale para todos         | POSIX | .pg_service.conf=[Zarvent]\\nhost=a,b\\nport=1,2\\npassword=p; .pgpass=b:2:*:*:sb | | a:1=p b:2=p
        PGPASSWORD antes do pgpass                 | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=*:*:*:*:arquivo | PGPASSWORD=env | a:5432=env
        PGPASSFILE no lugar do ~/.pgpass           | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass=*:*:*:*:casa; outro=*:*:*:*:variavel | PGPASSFILE=$T/outro | a:5432=variavel
        passfile do serviço antes de PGPASSFILE    | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\npassfile=$T/dele; dele=*:*:*:*:servico; outro=*:*:*:*:x | PGPASSFILE=$T/outro | a:5432=servico
        pgpass que outros leem é ignorado          | POSIX | .pg_service.conf=[Zarvent]\\nhost=a; .pgpass rw-r--r--=*:*:*:*:x | | a:5432=
        variáveis para o que o serviço não diz     | POSIX | .pg_service.conf=[Zarvent]\\ndbname=d | PGHOST=h;PGPORT=9 | h:9=
        o serviço antes das variáveis              | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\nport=7 | PGHOST=h;PGPORT=9 | a:7=
        vazio no serviço: o padrão, não a variável | POSIX | .pg_service.conf=[Zarvent]\\nhost=\\nport= | PGHOST=h;PGPORT=9 | localhost:5432=
        senha vazia no serviço: o pgpass           | POSIX | .pg_service.conf=[Zarvent]\\nhost=a\\npassword=; .pgpass=*:*:*:*:arquivo | PGPASSWORD=env | a:5432=arquivo
        a pasta do Windows não conta no Linux      | POSIX | AppData/postgresql/.pg_service.conf=[Zarvent]\\nhost=w; .pg_service.conf=[Zarvent]\\nhost=a | APPDATA=$T/AppData | a:5432=
        APPDATA, não o ~                           | WINDOWS | .pg_service.conf=[Zarvent]\\nhost=casa; AppData/postgresql/.pg_service.conf=[Zarvent]\\nhost=appdata | APPDATA=$T/AppData | appdata:5432=
        PGSERVICEFILE antes de APPDATA             | WINDOWS | AppData/postgresql/.pg_service.conf=[Zarvent]\\nhost=appdata; s.conf=[Zarvent]\\nhost=variavel | APPDATA=$T/AppData;PGSERVICEFILE=$T/s.conf | variavel:5432=
        PGSYSCONFDIR depois do usuário             | WINDOWS | AppData/postgresql/.pg_service.conf=[Outro]\\nhost=x; etc/pg_service.conf=[Zarvent]\\nhost=sistema | APPDATA=$T/AppData;PGSYSCONFDIR=$T/etc | sistema:5432=
        sem PGSYSCONFDIR, só o do usuário          | WINDOWS | AppData/postgresql/.pg_service.conf=[Outro]\\nhost=x | APPDATA=$T/AppData | !Procurado em: $T/AppData/postgresql/.pg_service.conf. Crie
        sem APPDATA, a pasta do perfil             | WINDOWS | AppData/Roaming/postgresql/.pg_service.conf=[Zarvent]\\nhost=perfil | | perfil:5432=
        pgpass.conf sem exigência de modo          | WINDOWS | AppData/postgresql/.pg_service.conf=[Zarvent]\\nhost=a; AppData/postgresql/pgpass.conf rw-r--r--=a:*:*:*:w; .pgpass=*:*:*:*:linux | APPDATA=$T/AppData | a:5432=w
        """)
    void regra(String caso, Sistema sistema, String arquivos, String variaveis, String esperado) throws Exception {
        final String t = pasta.toString();
        if (arquivos != null)
            for (String a : arquivos.split(";")) {
                final int igual = a.indexOf('=');
                final String[] nome = a.substring(0, igual).strip().split(" ");
                final Path p = pasta.resolve(nome[0]);
                Files.createDirectories(p.getParent());
                Files.writeString(p, a.substring(igual + 1).replace("\\n", "\n").replace("$T", t) + "\n");
                Files.setPosixFilePermissions(p, PosixFilePermissions.fromString(nome.length > 1 ? nome[1] : "rw-------"));
            }
        final Map<String, String> env = new HashMap<>();
        if (variaveis != null)
            for (String v : variaveis.split(";")) env.put(v.substring(0, v.indexOf('=')), v.substring(v.indexOf('=') + 1).replace("$T", t));
        final Ambiente amb = new Ambiente(env, pasta, sistema);
        if (esperado.startsWith("!")) {
            final ErroRelatorio e = assertThrows(ErroRelatorio.class, () -> ler(amb));
            assertTrue(e.getMessage().contains(esperado.substring(1).replace("$T", t)), e.getMessage());
        } else {
            assertEquals(esperado, ler(amb).destinos().stream()
                    .map(d -> d.endereco() + "=" + (d.senha() == null ? "" : d.senha())).collect(joining(" ")));
        }
    }

    private static ConfiguracaoConexao ler(Ambiente amb) throws ErroRelatorio {
        return ConfiguracaoConexao.de("Zarvent", ArquivoServico.ler("Zarvent", amb), amb);
    }

    /** A password file others may read, or that is no file, is named in libpq's warning; Windows has no modes to check. */
    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {
        "POSIX   | rw------- | ",
        "POSIX   | rw-r----- | has group or world access; permissions should be u=rw (0600) or less",
        "POSIX   | rw----r-- | has group or world access; permissions should be u=rw (0600) or less",
        "POSIX   | pasta     | is not a plain file",
        "WINDOWS | rw-r--r-- | ",
    })
    void avisoDoModo(Sistema sistema, String modo, String aviso) throws Exception {
        final Ambiente amb = new Ambiente(Map.of("PGPASSFILE", pasta.resolve("senhas").toString()), pasta, sistema);
        if (modo.equals("pasta")) Files.createDirectory(pasta.resolve("senhas"));
        else {
            Files.writeString(pasta.resolve("senhas"), "*:*:*:*:s\n");
            Files.setPosixFilePermissions(pasta.resolve("senhas"), PosixFilePermissions.fromString(modo));
        }
        final ConfiguracaoConexao c = ConfiguracaoConexao.de("Z", Map.of("host", "a"), amb);
        assertEquals(aviso == null ? List.of() : List.of("WARNING: password file \"" + pasta.resolve("senhas") + "\" " + aviso),
                c.avisos());
        assertEquals(aviso == null ? "s" : null, c.destinos().get(0).senha());
    }
}
