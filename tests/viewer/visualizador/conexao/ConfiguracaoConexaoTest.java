package visualizador.conexao;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.nio.file.Path;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;

class ConfiguracaoConexaoTest {
    @TempDir
    Path home;

    private static Map<String, String> pares(String texto) {
        final Map<String, String> m = new LinkedHashMap<>();
        if (texto != null)
            for (String par : texto.split(";")) m.put(par.substring(0, par.indexOf('=')).strip(), par.substring(par.indexOf('=') + 1));
        return m;
    }

    /**
     * Service keys, then PG* variables for what the service leaves unset: the URL, the driver
     * properties that differ from the plain ones (user=u, ApplicationName=jasperviewer) and how
     * many warnings.
     */
    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', value = {
        "hosts e portas | host=a,b;port=1,2;dbname=d;user=u | | a:1,b:2/d | | 0",
        "uma porta      | host=a,b;port=7;dbname=d;user=u | | a:7,b:7/d | | 0",
        "ambiente       | dbname=d | PGHOST=h;PGPORT=9;PGUSER=u;PGOPTIONS=-c statement_timeout=5s;PGSSLMODE=require"
                + " | h:9/d | options=-c statement_timeout=5s;sslmode=require | 0",
        "serviço vence  | host=s;user=u;dbname=d | PGHOST=h;PGAPPNAME=x | s:5432/d | ApplicationName=x | 0",
        "chaves libpq   | host=a;user=u;dbname=d;connect_timeout=3;sslrootcert=/r;sslcert=/c;sslkey=/k;"
                + "application_name=rel;target_session_attrs=read-write | | a:5432/d | connectTimeout=3;sslrootcert=/r;"
                + "sslcert=/c;sslkey=/k;ApplicationName=rel;targetServerType=primary | 0",
        "não aplicadas  | host=a;user=u;dbname=d;keepalives=0;hostaddr=1.2.3.4;channel_binding=require | | a:5432/d | | 3",
        "prefer-standby | host=a;user=u;dbname=d;target_session_attrs=prefer-standby | | a:5432/d | "
                + "targetServerType=preferSecondary | 0",
        "IPv6           | host=::1;user=u;dbname=d | | [::1]:5432/d | | 0",
        "vazio = padrão | host=;port=;user=u;dbname=d | PGHOST=h;PGPORT=9 | localhost:5432/d | | 0",
    })
    void comoALibpq(String caso, String servico, String ambiente, String url, String propriedades, int avisos)
            throws Exception {
        final ConfiguracaoConexao c = ConfiguracaoConexao.de("Z", pares(servico), new Ambiente(pares(ambiente), home));
        assertEquals(url, String.join(",", c.destinos().stream().map(Destino::endereco).toList()) + "/" + c.banco());
        final Map<String, String> esperadas = new TreeMap<>(Map.of("user", "u", "ApplicationName", "jasperviewer"));
        esperadas.putAll(pares(propriedades));
        final Map<String, String> obtidas = new TreeMap<>();
        c.propriedades().forEach((k, v) -> obtidas.put((String) k, (String) v));
        assertEquals(esperadas, obtidas);
        assertEquals(avisos, c.avisos().size(), c.avisos().toString());
    }

    @ParameterizedTest
    @CsvSource(delimiter = '|', value = {"host=a,b,c;port=1,2", "host=/var/run/postgresql", "host=a;port=x",
        "host=a;target_session_attrs=qualquer"})
    void recusados(String servico) {
        assertThrows(ErroRelatorio.class, () -> ConfiguracaoConexao.de("Z", pares(servico), new Ambiente(new HashMap<>(), home)));
    }

}
